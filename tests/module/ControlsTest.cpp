#include "CameraFixture.h"

namespace camtest {
namespace {

using ControlsTest = CameraFixture;

struct Operation {
    const char* name;
    std::function<void(Camera*)> run;
    const char* sdkCall;  // the call whose failure it reports
    bool clearsSavedFlag;
};

const std::vector<Operation>& operations() {
    static const std::vector<Operation> all = {
        {"setGain", [](Camera* c) { c->setGain(10, 20, 30, 40); }, "is_SetHardwareGain", true},
        {"setAutoGain", [](Camera* c) { c->setAutoGain(true); }, "is_SetAutoParameter", false},
        {"isGainAuto", [](Camera* c) { c->isGainAuto(); }, "is_SetAutoParameter", false},
        {"setDefaultGain", [](Camera* c) { c->setDefaultGain(); }, "is_SetHardwareGain", false},
        {"setExposure", [](Camera* c) { c->setExposure(5.0); }, "is_SetExposureTime", true},
        {"getExposure", [](Camera* c) { c->getExposure(); }, "is_SetExposureTime", false},
        {"setDefaultExposure", [](Camera* c) { c->setDefaultExposure(); }, "is_SetExposureTime", true},
        {"setFrameRate", [](Camera* c) { c->setFrameRate(12.0); }, "is_SetFrameRate", true},
        {"getFrameRate", [](Camera* c) { c->getFrameRate(); }, "is_SetFrameRate", false},
        {"setDefaultFrameRate", [](Camera* c) { c->setDefaultFrameRate(); }, "is_SetFrameRate", true},
        {"setBrightness", [](Camera* c) { c->setBrightness(77); }, "is_SetBrightness", true},
        {"setDefaultBrightness", [](Camera* c) { c->setDefaultBrightness(); }, "is_SetBrightness", false},
        {"setAOI", [](Camera* c) { c->setAOI(640, 480); }, "is_SetImageSize", true},
        {"setDefaultAOI", [](Camera* c) { c->setDefaultAOI(); }, "is_SetAOI", false},
        {"getWidth", [](Camera* c) { c->getWidth(); }, "is_SetAOI", false},
        {"getPosY", [](Camera* c) { c->getPosY(); }, "is_SetAOI", false},
        {"doWhiteBalance", [](Camera* c) { c->doWhiteBalance(); }, "is_SetAutoParameter", false},
        {"stopWhiteBalance", [](Camera* c) { c->stopWhiteBalance(); }, "is_SetAutoParameter", false},
    };
    return all;
}

TEST_F(ControlsTest, SavedFlagRules) {
    open();
    for (const auto& op : operations()) {
        SCOPED_TRACE(op.name);
        config()->setConfSaved(true);
        op.run(camera());
        EXPECT_EQ(config()->getConfSaved(), !op.clearsSavedFlag);
    }
}

TEST_F(ControlsTest, FailuresAreReportedAndLeaveTheFlag) {
    open();
    for (const auto& op : operations()) {
        SCOPED_TRACE(op.name);
        config()->setConfSaved(true);
        ueye_sim::failCall(op.sdkCall, 123);
        expectSdkFailure([&] { op.run(camera()); }, op.sdkCall, 123);
        EXPECT_TRUE(config()->getConfSaved());
        ueye_sim::clearScripts();
    }
}

TEST_F(ControlsTest, GainsReachTheCameraUnchanged) {
    open();
    ueye_sim::clearCallLog();
    camera()->setGain(-5, 20, 30, 400);
    EXPECT_EQ(ueye_sim::callLog().at(0).arguments.substr(ueye_sim::callLog().at(0).arguments.find(',')),
              ", -5, 20, 30, 400");
    camera()->setGain(10, 20, 30, 40);
    EXPECT_EQ(camera()->getGain(), 10);
    EXPECT_EQ(camera()->getRedGain(), 20);
    EXPECT_EQ(camera()->getGreenGain(), 30);
    EXPECT_EQ(camera()->getBlueGain(), 40);
}

TEST_F(ControlsTest, GainQueriesNeverThrow) {
    open();
    ueye_sim::scriptQuery("is_SetHardwareGain", 0x8000, -7);
    ueye_sim::scriptQuery("is_SetBrightness", 0x8000, -9);
    EXPECT_EQ(camera()->getGain(), -7);
    EXPECT_EQ(camera()->getBrightness(), -9);
}

TEST_F(ControlsTest, AutoGainIsAnyNonZeroValue) {
    open();
    camera()->setAutoGain(true);
    EXPECT_TRUE(camera()->isGainAuto());
    camera()->setAutoGain(false);
    EXPECT_FALSE(camera()->isGainAuto());
}

TEST_F(ControlsTest, DefaultGainWithFactoryAutoGain) {
    // The shipped file gives SIM1280-M automatic gain.
    open("SIM1280-M");
    ASSERT_EQ(config()->getMasterGain("SIM1280-M"), -1);
    camera()->setAutoGain(false);
    ueye_sim::clearCallLog();
    camera()->setDefaultGain();
    const auto log = ueye_sim::callLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].function, "is_SetHardwareGain");
    EXPECT_NE(log[0].arguments.find(", -1, "), std::string::npos);
    EXPECT_EQ(log[1].function, "is_SetAutoParameter");
    EXPECT_TRUE(camera()->isGainAuto());
}

TEST_F(ControlsTest, DefaultGainWithoutAutoGainLeavesItOn) {
    open("SIM1280-C");
    ASSERT_NE(config()->getMasterGain("SIM1280-C"), -1);
    camera()->setAutoGain(true);
    camera()->setDefaultGain();
    EXPECT_TRUE(camera()->isGainAuto());
}

TEST_F(ControlsTest, DefaultFrameRateAsksTheCameraTwice) {
    open();
    ueye_sim::clearCallLog();
    camera()->setDefaultFrameRate();
    const auto log = ueye_sim::callLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_NE(log[0].arguments.find("32769"), std::string::npos);
    EXPECT_EQ(log[1].function, "is_SetFrameRate");
}

TEST_F(ControlsTest, ExposureReportsWhatTheCameraApplied) {
    open();
    camera()->setFrameRate(25.0);
    camera()->setExposure(1e6);  // far beyond the frame time
    const double exposure = camera()->getExposure();
    EXPECT_GT(exposure, 0.0);
    EXPECT_LE(exposure, 1000.0 / camera()->getFrameRate() + 1e-6) << "fps " << camera()->getFrameRate();
}

TEST_F(ControlsTest, WhiteBalanceDoesNotWait) {
    open();
    camera()->doWhiteBalance();
    EXPECT_TRUE(ueye_sim::state().autoWhiteBalance);
    camera()->stopWhiteBalance();
    EXPECT_FALSE(ueye_sim::state().autoWhiteBalance);
    camera()->stopWhiteBalance();
}

}  // namespace
}  // namespace camtest
