// The order of the module's SDK calls, where a camera depends on it: each
// setting bounds the next. The pixel clock bounds the frame rate, the frame
// rate bounds the exposure, the colour mode and the area size the picture
// memory; capture starts only once that memory is in the sequence. A preset's
// frame rate comes last because changing the area changes its range. A
// camera belongs to one open handle: a second init lets go of everything
// before it opens again. Checked as one list per path, since the camera only
// shows the result of a wrong order as a clamped value or a refused call.
#include "CameraFixture.h"

#include "ueye.h"

namespace testsupport {
namespace {

using CallOrderTest = CameraFixture;
using Names = std::vector<std::string>;

// The set-up in order, without a preset; auto gain adds one call after the gain.
Names factoryOrder(bool autoGain) {
    Names names{"is_InitCamera", "is_GetSensorInfo", "is_SetHardwareGain"};
    if (autoGain) names.push_back("is_SetAutoParameter");
    const Names rest{"is_SetBrightness",      "is_SetFrameRate",       "is_SetFrameRate",     "is_SetGamma",
                     "is_SetBlCompensation",  "is_SetColorCorrection", "is_SetColorMode",     "is_SetPixelClock",
                     "is_SetExposureTime",    "is_SetAutoParameter",   "is_SetAutoParameter", "is_SetAutoParameter",
                     "is_UncheckedSetup",     "is_SetBinning",         "is_SetImageSize",     "is_SetDisplayMode",
                     "is_AllocImageMem",      "is_SetImageMem",        "is_ClearSequence",    "is_AddToSequence",
                     "is_SetExternalTrigger", "is_CaptureVideo"};
    names.insert(names.end(), rest.begin(), rest.end());
    return names;
}

// With a preset: its values, the area through setAOI, the frame rate last.
const Names kUserOrder{
    "is_InitCamera",      "is_GetSensorInfo",     "is_SetHardwareGain",    "is_SetAutoParameter", "is_SetBrightness",
    "is_SetGamma",        "is_SetBlCompensation", "is_SetColorCorrection", "is_SetColorMode",     "is_SetPixelClock",
    "is_SetExposureTime", "is_SetAutoParameter",  "is_SetAutoParameter",   "is_SetAutoParameter", "is_UncheckedSetup",
    "is_SetBinning",      "is_SetExposureTime",   "is_SetFrameRate",       "is_SetImagePos",      "is_SetImagePos",
    "is_SetImagePos",     "is_SetImageSize",      "is_SetImagePos",        "is_SetImagePos",      "is_SetImagePos",
    "is_SetFrameRate",    "is_SetExposureTime",   "is_SetDisplayMode",     "is_AllocImageMem",    "is_SetImageMem",
    "is_ClearSequence",   "is_AddToSequence",     "is_SetExternalTrigger", "is_SetFrameRate",     "is_CaptureVideo"};

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

void freshCamera() {
    delete Camera::getInstance();
    ueye_sim::reset();
}
TEST_F(CallOrderTest, EveryCatalogueCameraOpensInTheFactoryOrderAndCloses) {
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        freshCamera();
        config()->setConfSaved(true);
        open(model.name);
        const bool autoGain = config()->getMasterGain(model.name) == -1;
        EXPECT_EQ(calls(), factoryOrder(autoGain));
        const std::string size = std::to_string(model.maxWidth) + ", " + std::to_string(model.maxHeight);
        EXPECT_EQ(argumentsOf("is_SetColorMode"), std::to_string(model.color ? IS_CM_RGB8_PACKED : IS_CM_MONO8));
        EXPECT_EQ(argumentsOf("is_AllocImageMem").rfind(size + ", " + (model.color ? "24" : "8"), 0), 0u);
        EXPECT_EQ(argumentsOf("is_SetImageSize"), size);
        EXPECT_NE(camera()->getCamHandle(), nullptr);
        EXPECT_EQ(camera()->getName().str() + camera()->getSensor().str(), model.name + model.name);
        EXPECT_EQ(std::to_string(camera()->getMaxWidth()) + ", " + std::to_string(camera()->getMaxHeight()), size);
        EXPECT_EQ(camera()->isColor(), model.color);
        // The default setters cleared the flag; the factory branch leaves it so.
        EXPECT_FALSE(config()->getConfSaved());
        const auto state = ueye_sim::state();
        EXPECT_TRUE(state.capturing);
        EXPECT_EQ(state.allocatedMemories, 1);
        EXPECT_EQ(state.autoGain, autoGain);
        EXPECT_FALSE(state.autoWhiteBalance || state.autoShutter);
        camera()->exit();
        EXPECT_FALSE(ueye_sim::state().open);
        EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
        EXPECT_EQ(camera()->getCamHandle(), nullptr);
    }
}

TEST_F(CallOrderTest, PresetOpensInTheUserOrderWithItsValues) {
    for (const std::string name : {"SIM1280-C", "SIM1280-M"}) {
        SCOPED_TRACE(name);
        freshCamera();
        savePreset(config(), name);
        config()->setConfSaved(false);
        open(name);
        EXPECT_EQ(calls(), kUserOrder);
        EXPECT_TRUE(config()->getConfSaved());
        const auto s = ueye_sim::state();
        EXPECT_EQ(std::vector<double>({double(s.masterGain), double(s.redGain), double(s.blueGain), double(s.autoGain),
                                       double(s.brightness), s.exposureMs, s.frameRate, double(s.aoiWidth),
                                       double(s.aoiHeight)}),
                  std::vector<double>({11, 12, 14, 0, 90, 7.5, 20, 640, 480}));
        // The memory has the full sensor size whatever the area.
        EXPECT_EQ(argumentsOf("is_AllocImageMem").rfind("1280, 1024", 0), 0u);
    }
}

TEST_F(CallOrderTest, SecondInitClosesBeforeOpening) {
    open();
    ueye_sim::clearCallLog();
    camera()->init();
    const Names names = calls();
    EXPECT_EQ(Names(names.begin(), names.begin() + 4),
              Names({"is_StopLiveVideo", "is_FreeImageMem", "is_ExitCamera", "is_InitCamera"}));
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
    // So does a host's setDefaults on the open camera: a new memory, and pictures.
    camera()->setDefaults();
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
    EXPECT_TRUE(ueye_sim::waitFrames(2, 5000));
    EXPECT_NE(camera()->getActiveImage(), nullptr);
}

TEST_F(CallOrderTest, DefaultGainSwitchesAutoGainOnOnlyForAFactoryAutoGain) {
    // The shipped file gives SIM1280-M automatic gain, SIM1280-C a fixed one.
    for (const std::string name : {"SIM1280-C", "SIM1280-M"}) {  // colour first: the flag never comes back
        SCOPED_TRACE(name);
        open(name);
        const bool factoryAuto = config()->getMasterGain(name) == -1;
        camera()->setAutoGain(!factoryAuto);
        ueye_sim::clearCallLog();
        camera()->setDefaultGain();
        EXPECT_EQ(calls().size(), factoryAuto ? 2u : 1u);
        EXPECT_EQ(ueye_sim::callLog().at(0).arguments.find(", -1, ") != std::string::npos, factoryAuto);
        EXPECT_TRUE(camera()->isGainAuto());
    }
}

TEST_F(CallOrderTest, DefaultFrameRateAsksTheCameraTwice) {
    open();
    ueye_sim::clearCallLog();
    camera()->setDefaultFrameRate();
    EXPECT_EQ(calls(), std::vector<std::string>({"is_SetFrameRate", "is_SetFrameRate"}));
    EXPECT_EQ(argumentsOf("is_SetFrameRate"), std::to_string(static_cast<int>(IS_GET_DEFAULT_FRAMERATE)) + ", out");
}

}  // namespace
}  // namespace testsupport
