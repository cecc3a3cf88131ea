#include "CameraFixture.h"

namespace camtest {
namespace {

using SetupTest = CameraFixture;
using Names = std::vector<std::string>;

const Names kFixedMiddle = {"is_SetGamma", "is_SetBlCompensation", "is_SetColorCorrection", "is_SetColorMode",
                            "is_SetPixelClock"};
const Names kAutoOff = {"is_SetAutoParameter", "is_SetAutoParameter", "is_SetAutoParameter", "is_UncheckedSetup",
                        "is_SetBinning"};
const Names kMemory = {"is_SetDisplayMode", "is_AllocImageMem", "is_SetImageMem", "is_ClearSequence",
                       "is_AddToSequence", "is_SetExternalTrigger"};
const Names kSetAoi = {"is_SetExposureTime", "is_SetFrameRate", "is_SetImagePos", "is_SetImagePos",
                       "is_SetImagePos", "is_SetImageSize", "is_SetImagePos", "is_SetImagePos",
                       "is_SetImagePos", "is_SetFrameRate", "is_SetExposureTime"};

void append(Names& to, const Names& more) { to.insert(to.end(), more.begin(), more.end()); }

Names factoryOrder(bool autoGain) {
    Names names = {"is_InitCamera", "is_GetSensorInfo", "is_SetHardwareGain"};
    if (autoGain) names.push_back("is_SetAutoParameter");
    append(names, {"is_SetBrightness", "is_SetFrameRate", "is_SetFrameRate"});
    append(names, kFixedMiddle);
    names.push_back("is_SetExposureTime");
    append(names, kAutoOff);
    names.push_back("is_SetImageSize");
    append(names, kMemory);
    names.push_back("is_CaptureVideo");
    return names;
}

Names userOrder() {
    Names names = {"is_InitCamera", "is_GetSensorInfo", "is_SetHardwareGain", "is_SetAutoParameter",
                   "is_SetBrightness"};
    append(names, kFixedMiddle);
    names.push_back("is_SetExposureTime");
    append(names, kAutoOff);
    append(names, kSetAoi);
    append(names, kMemory);
    append(names, {"is_SetFrameRate", "is_CaptureVideo"});
    return names;
}

std::string argumentsOf(const std::string& function) {
    for (const auto& record : ueye_sim::callLog())
        if (record.function == function) return record.arguments;
    return "(not called)";
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void savePreset(Config* config, const std::string& name) {
    config->setUserMasterGain(name, 11);
    config->setUserRedGain(name, 12);
    config->setUserGreenGain(name, 13);
    config->setUserBlueGain(name, 14);
    config->setUserAutoGain(name, false);
    config->setUserBrightness(name, 90);
    config->setUserExposure(name, 7.5);
    config->setUserFramerate(name, 20.0);
    config->setUserSizes(name, 640, 480);
}

TEST_F(SetupTest, FactoryBranchOrderForEveryCamera) {
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        delete Camera::getInstance();
        ueye_sim::reset();
        config()->setConfSaved(true);
        open(model.name);
        const bool autoGain = config()->getMasterGain(model.name) == -1;
        EXPECT_EQ(calls(), factoryOrder(autoGain));
        EXPECT_TRUE(endsWith(argumentsOf("is_SetColorMode"), model.colour ? ", 129" : ", 6"));
        EXPECT_NE(argumentsOf("is_AllocImageMem")
                      .find(std::to_string(model.maxWidth) + ", " + std::to_string(model.maxHeight) + ", " +
                            (model.colour ? "24" : "8")),
                  std::string::npos);
        EXPECT_TRUE(endsWith(argumentsOf("is_UncheckedSetup"), ", 2, 0"));
        EXPECT_TRUE(endsWith(argumentsOf("is_SetImageSize"),
                             ", " + std::to_string(model.maxWidth) + ", " + std::to_string(model.maxHeight)));
        // The factory branch leaves the flag as the default setters left it.
        EXPECT_FALSE(config()->getConfSaved());
        EXPECT_EQ(ueye_sim::state().autoGain, autoGain);
        EXPECT_FALSE(ueye_sim::state().autoWhiteBalance);
        EXPECT_FALSE(ueye_sim::state().autoShutter);
    }
}

TEST_F(SetupTest, UserBranchOrderAndValues) {
    for (const std::string name : {"SIM1280-C", "SIM1280-M"}) {
        SCOPED_TRACE(name);
        delete Camera::getInstance();
        ueye_sim::reset();
        savePreset(config(), name);
        config()->setConfSaved(false);
        open(name);
        EXPECT_EQ(calls(), userOrder());
        EXPECT_TRUE(config()->getConfSaved());
        const auto state = ueye_sim::state();
        EXPECT_EQ(state.masterGain, 11);
        EXPECT_EQ(state.redGain, 12);
        EXPECT_EQ(state.blueGain, 14);
        EXPECT_FALSE(state.autoGain);
        EXPECT_EQ(state.brightness, 90);
        EXPECT_DOUBLE_EQ(state.exposureMs, 7.5);
        EXPECT_DOUBLE_EQ(state.frameRate, 20.0);
        EXPECT_EQ(state.aoiWidth, 640);
        EXPECT_EQ(state.aoiHeight, 480);
        // The memory has the full sensor size whatever the area.
        EXPECT_NE(argumentsOf("is_AllocImageMem").find("1280, 1024"), std::string::npos);
    }
}

TEST_F(SetupTest, BlackLevelOffSendsZeros) {
    const std::string xml = testsupport::shippedConfig();
    // Switch black-level compensation off for SIM1280-C only.
    const auto camera = xml.find("<SIM1280-C>");
    ASSERT_NE(camera, std::string::npos);
    const auto open = xml.find("<BLEnable>", camera);
    const auto close = xml.find("</BLEnable>", open);
    std::string edited = xml.substr(0, open) + "<BLEnable>false" + xml.substr(close);
    app().writeConfig(edited);
    config()->load();
    this->open("SIM1280-C");
    EXPECT_TRUE(endsWith(argumentsOf("is_SetBlCompensation"), ", 0, 0, 0"));
}

TEST_F(SetupTest, UncheckedCallMayFailBinningMayNot) {
    ueye_sim::failCall("is_UncheckedSetup", 99);
    open();
    EXPECT_TRUE(ueye_sim::state().capturing);

    delete Camera::getInstance();
    ueye_sim::reset();
    ueye_sim::failCall("is_SetBinning", 5);
    expectSdkFailure([&] { camera()->init(); }, "is_SetBinning", 5);
    EXPECT_FALSE(ueye_sim::state().capturing);
}

TEST_F(SetupTest, EveryCheckedCallStopsTheSetUp) {
    for (const std::string function :
         {"is_SetGamma", "is_SetBlCompensation", "is_SetColorCorrection", "is_SetColorMode", "is_SetPixelClock",
          "is_SetAutoParameter", "is_SetDisplayMode", "is_AllocImageMem", "is_SetImageMem", "is_ClearSequence",
          "is_AddToSequence", "is_SetExternalTrigger", "is_SetImageSize"}) {
        SCOPED_TRACE(function);
        delete Camera::getInstance();
        ueye_sim::reset();
        ueye_sim::failCall(function, 42);
        expectSdkFailure([&] { camera()->init(); }, function, 42);
        EXPECT_FALSE(ueye_sim::state().capturing);
        // What was allocated stays recorded, so that exit frees it.
        ueye_sim::clearScripts();
        camera()->exit();
        EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
    }
}

TEST_F(SetupTest, MissingFactoryValuePassesThrough) {
    app().writeConfig("<Root><CameraSettings><SIM1280-C><MasterGain>1</MasterGain></SIM1280-C></CameraSettings></Root>");
    config()->load();
    try {
        open();
        FAIL() << "set-up went on without factory values";
    } catch (const Qel::Exception& e) {
        EXPECT_EQ(e.getMessage(), Qel::Strings::StringTable::get().getString("Nimbrel", 64));
    }
}

TEST_F(SetupTest, HostCallOnAnOpenCameraReplacesTheMemory) {
    open();
    camera()->setDefaults();
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
    EXPECT_TRUE(ueye_sim::waitFrames(2, 5000));
    EXPECT_NE(camera()->getActiveImage(), nullptr);
    camera()->exit();
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
}

}  // namespace
}  // namespace camtest
