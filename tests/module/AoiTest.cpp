#include "CameraFixture.h"

namespace camtest {
namespace {

using AoiTest = CameraFixture;

TEST_F(AoiTest, AlignsAndCentres) {
    open("SIM1280-C");
    camera()->setAOI(1001, 701);
    EXPECT_EQ(camera()->getWidth(), 1000);
    EXPECT_EQ(camera()->getHeight(), 700);
    EXPECT_EQ(camera()->getPosX(), 140);
    EXPECT_EQ(camera()->getPosY(), 162);
}

TEST_F(AoiTest, ScriptedLargestOffsetsAreRoundedDownToTheStep) {
    open("SIM1280-C");
    ueye_sim::scriptQuery("is_SetImagePos", 0xC007, 282);
    ueye_sim::scriptQuery("is_SetImagePos", 0xC008, 325);
    ueye_sim::clearCallLog();
    camera()->setAOI(1001, 701);
    bool found = false;
    for (const auto& record : ueye_sim::callLog())
        if (record.function == "is_SetImagePos" && record.arguments.find(", 140, 162") != std::string::npos) found = true;
    EXPECT_TRUE(found);
}

TEST_F(AoiTest, CarriesFrameRateAndExposureAcross) {
    open("SIM1280-C");
    camera()->setFrameRate(20.0);
    camera()->setExposure(10.0);
    const double fps = camera()->getFrameRate();
    const double exposure = camera()->getExposure();
    camera()->setAOI(640, 480);
    EXPECT_DOUBLE_EQ(camera()->getFrameRate(), fps);
    EXPECT_DOUBLE_EQ(camera()->getExposure(), exposure);
}

TEST_F(AoiTest, NonPositiveStepDoesNotDivideByZero) {
    open("SIM1280-C");
    ueye_sim::scriptQuery("is_SetImagePos", 0xC003, 0);
    ueye_sim::scriptQuery("is_SetImagePos", 0xC004, -2);
    EXPECT_NO_FATAL_FAILURE(camera()->setAOI(640, 480));
    EXPECT_EQ(camera()->getWidth(), 640);
}

TEST_F(AoiTest, RefusedSizeLeavesTheOffsetAtTheCorner) {
    open("SIM1280-C");
    camera()->setAOI(640, 480);
    config()->setConfSaved(true);
    try {
        camera()->setAOI(4000, 4000);
        FAIL() << "the camera took an area larger than its sensor";
    } catch (const Qel::Exception& e) {
        EXPECT_NE(e.getMessage().str().find("is_SetImageSize"), std::string::npos);
    }
    EXPECT_EQ(camera()->getPosX(), 0);
    EXPECT_EQ(camera()->getPosY(), 0);
    EXPECT_EQ(camera()->getWidth(), 640);
    EXPECT_TRUE(config()->getConfSaved());
}

TEST_F(AoiTest, DefaultAoiIsTheWholeSensorInOneCall) {
    open("SIM2592-C");
    camera()->setAOI(800, 600);
    config()->setConfSaved(false);
    ueye_sim::clearCallLog();
    camera()->setDefaultAOI();
    EXPECT_EQ(calls(), std::vector<std::string>{"is_SetAOI"});
    EXPECT_EQ(camera()->getWidth(), 2592);
    EXPECT_EQ(camera()->getHeight(), 1944);
    EXPECT_EQ(camera()->getPosX(), 0);
    EXPECT_FALSE(config()->getConfSaved());
}

TEST_F(AoiTest, FailureAtEachStep) {
    open("SIM1280-C");
    struct Step {
        const char* function;
        int nth;
    };
    // is_SetExposureTime 1st = read, 2nd = write back; is_SetImagePos 1st = corner, 2nd = centre (queries are scripted).
    for (const Step step : {Step{"is_SetExposureTime", 1}, Step{"is_SetFrameRate", 1}, Step{"is_SetImagePos", 1},
                            Step{"is_SetImageSize", 1}, Step{"is_SetFrameRate", 2}, Step{"is_SetExposureTime", 2}}) {
        SCOPED_TRACE(std::string(step.function) + " #" + std::to_string(step.nth));
        camera()->setDefaultAOI();
        config()->setConfSaved(true);
        ueye_sim::clearScripts();
        ueye_sim::failCall(step.function, 77, step.nth);
        expectSdkFailure([&] { camera()->setAOI(640, 480); }, step.function, 77);
        EXPECT_TRUE(config()->getConfSaved());
    }
}

}  // namespace
}  // namespace camtest
