// Opening and closing the camera, the set-up's calls in order, and the live
// picture. Failures of single SDK calls are the fault sweep's.
#include "CameraFixture.h"

#include <Qel/Qel.h>

namespace testsupport {
namespace {

using CameraTest = CameraFixture;
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

// The arguments of the first logged call of `function`, after the handle.
std::string argumentsOf(const std::string& function) {
    for (const auto& record : ueye_sim::callLog())
        if (record.function == function) return record.arguments.substr(record.arguments.find(", ") + 2);
    return "(not called)";
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

void freshCamera() {
    delete Camera::getInstance();
    ueye_sim::reset();
}

TEST_F(CameraTest, BeforeTheFirstInitNothingIsKnown) {
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
    EXPECT_TRUE(camera()->getName().empty());
    EXPECT_TRUE(camera()->getSensor().empty());
    EXPECT_EQ(camera()->getMaxWidth() + camera()->getMaxHeight(), 0);
    EXPECT_TRUE(camera()->isColor());
    EXPECT_EQ(camera()->getActiveImage(), nullptr);
}

TEST_F(CameraTest, EveryCatalogueCameraOpensInTheFactoryOrderAndCloses) {
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        freshCamera();
        config()->setConfSaved(true);
        open(model.name);
        const bool autoGain = config()->getMasterGain(model.name) == -1;
        EXPECT_EQ(calls(), factoryOrder(autoGain));
        const std::string size = std::to_string(model.maxWidth) + ", " + std::to_string(model.maxHeight);
        EXPECT_EQ(argumentsOf("is_SetColorMode"), model.color ? "129" : "6");
        EXPECT_EQ(argumentsOf("is_AllocImageMem").rfind(size + ", " + (model.color ? "24" : "8"), 0), 0u);
        EXPECT_EQ(argumentsOf("is_UncheckedSetup"), "2, 0");
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

TEST_F(CameraTest, PresetOpensInTheUserOrderWithItsValues) {
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

TEST_F(CameraTest, BlackLevelOffSendsZeros) {
    std::string xml = shippedConfig();
    const auto at = xml.find("<BLEnable>", xml.find("<SIM1280-C>"));
    xml.replace(at, xml.find("</BLEnable>", at) - at, "<BLEnable>false");
    app().writeConfig(xml);
    config()->load();
    open("SIM1280-C");
    EXPECT_EQ(argumentsOf("is_SetBlCompensation"), "0, 0, 0");
}

TEST_F(CameraTest, MissingFactoryValueIsReported) {
    app().writeConfig(
        "<Root><CameraSettings><SIM1280-C><MasterGain>1</MasterGain></SIM1280-C></CameraSettings></Root>");
    config()->load();
    EXPECT_EQ(thrownText([&] { open(); }), Qel::Strings::StringTable::get().getString("Nimbrel", 64).str());
}

TEST_F(CameraTest, NoCameraConnected) {
    ueye_sim::connectCamera("none");
    EXPECT_NE(thrownText([&] { camera()->init(); }).find("is_InitCamera"), std::string::npos);
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
}

TEST_F(CameraTest, ExitKeepsWhatTheLastInitReadAndTheMonochromeFlagStays) {
    open("SIM1280-M");
    camera()->exit();
    EXPECT_EQ(camera()->getName().str(), "SIM1280-M");
    EXPECT_EQ(camera()->getMaxWidth(), 1280);
    EXPECT_FALSE(camera()->isColor());
    // Exit on a closed camera makes no call.
    ueye_sim::clearCallLog();
    camera()->exit();
    EXPECT_TRUE(calls().empty());
    ueye_sim::connectCamera("SIM2592-C");
    camera()->init();
    EXPECT_EQ(camera()->getName().str(), "SIM2592-C");
    EXPECT_FALSE(camera()->isColor());
}

TEST_F(CameraTest, SecondInitClosesBeforeOpening) {
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

TEST_F(CameraTest, DestructorSwallowsAFailingExit) {
    open();
    ueye_sim::failCall("is_StopLiveVideo", 3);
    EXPECT_NO_THROW(delete Camera::getInstance());
    ueye_sim::clearScripts();
    EXPECT_EQ(Camera::getInstance()->getCamHandle(), nullptr);
}

TEST_F(CameraTest, ColorPictureIsTheCameraBufferWithRedAndBlueInPlace) {
    open("SIM1280-C");
    ASSERT_TRUE(ueye_sim::waitFrames(2, 5000));
    const unsigned char* image = camera()->getActiveImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(camera()->getActiveImage(), image);
    const auto& model = *ueye_sim::findModel("SIM1280-C");
    int checked = 0;
    const int y = model.maxHeight * 3 / 4;  // the static colour bars
    for (int x = 0; x < model.maxWidth; x += 7) {
        const auto want = ueye_sim::patternAt(model, x, y, 0);
        const unsigned char* got = image + (static_cast<std::size_t>(y) * model.maxWidth + x) * 3;
        const bool red = want.r > 200 && want.g < 50 && want.b<50, blue = want.b> 200 && want.r < 50 && want.g < 50;
        EXPECT_TRUE(!red || got[0] > got[2]) << "red at x " << x;
        EXPECT_TRUE(!blue || got[2] > got[0]) << "blue at x " << x;
        checked += red || blue;
    }
    EXPECT_GT(checked, 0);
    camera()->setAOI(640, 480);
    EXPECT_EQ(camera()->getActiveImage(), image);
}

TEST_F(CameraTest, MonochromePictureIsANewGreyArrayOfTheSensorSize) {
    open("SIM1280-M");
    ASSERT_TRUE(ueye_sim::waitFrames(2, 5000));
    std::unique_ptr<unsigned char[]> first(camera()->getActiveImage());
    std::unique_ptr<unsigned char[]> second(camera()->getActiveImage());
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first.get(), second.get());
    const std::size_t pixels = 1280u * 1024u;
    std::size_t lit = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = first.get() + 3 * i;
        ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "pixel " << i;
        lit += p[0] != 0;
    }
    EXPECT_GT(lit, pixels / 4);
    // Whatever the area: the last byte of a full-size picture is readable (ASan checks).
    camera()->setAOI(320, 240);
    std::unique_ptr<unsigned char[]> small(camera()->getActiveImage());
    volatile unsigned char last = small[pixels * 3 - 1];
    (void)last;
    camera()->exit();
    EXPECT_EQ(camera()->getActiveImage(), nullptr);
}

TEST_F(CameraTest, RecordingTimerReachesOnTimerForId10Only) {
    open();
    TempDir dir;
    CountingListener listener;
    // A paused recording with a size limit of 0 ends at its next tick.
    camera()->startRecording(&listener, dir.file("t.avi"), 0, 25, 0, 25);
    camera()->pauseRecording();
    wxTimer other(camera(), 11);
    wxTimerEvent otherTick(other);
    camera()->ProcessEvent(otherTick);
    EXPECT_EQ(listener.recordEnds, 0);
    wxTimer recordId(nullptr, 10);
    wxTimerEvent tick(recordId);
    camera()->ProcessEvent(tick);
    EXPECT_EQ(listener.recordEnds, 1);
}

}  // namespace
}  // namespace testsupport
