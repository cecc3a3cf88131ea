// The camera's controls, the area of interest, the user preset and the
// pixel clock optimisation, as the camera and the configuration see them.
#include "CameraFixture.h"
#include "Video.h"

#include <Nimbrel_model/Thread.h>

#include <functional>

namespace testsupport {
namespace {

using ControlsTest = CameraFixture;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ControlsTest, GainsReachTheCameraUnchangedAndQueriesNeverThrow) {
    open();
    ueye_sim::clearCallLog();
    camera()->setGain(-5, 20, 30, 400);
    EXPECT_TRUE(contains(ueye_sim::callLog().at(0).arguments, ", -5, 20, 30, 400"));
    camera()->setGain(10, 20, 30, 40);
    EXPECT_EQ(std::vector<double>(
                  {camera()->getGain(), camera()->getRedGain(), camera()->getGreenGain(), camera()->getBlueGain()}),
              std::vector<double>({10, 20, 30, 40}));
    camera()->setAutoGain(true);
    EXPECT_TRUE(camera()->isGainAuto());
    camera()->setAutoGain(false);
    EXPECT_FALSE(camera()->isGainAuto());
    // A failed query's status is its value.
    ueye_sim::scriptQuery("is_SetHardwareGain", 0x8000, -7);
    ueye_sim::scriptQuery("is_SetBrightness", 0x8000, -9);
    EXPECT_EQ(camera()->getGain(), -7);
    EXPECT_EQ(camera()->getBrightness(), -9);
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
    camera()->stopWhiteBalance();
    EXPECT_FALSE(ueye_sim::state().autoWhiteBalance);
}

TEST_F(ControlsTest, AreaIsAlignedCentredAndKeepsRateAndExposure) {
    open("SIM1280-C");
    camera()->setFrameRate(20.0);
    camera()->setExposure(10.0);
    const double fps = camera()->getFrameRate(), exposure = camera()->getExposure();
    camera()->setAOI(1001, 701);
    EXPECT_EQ(std::vector<int>({camera()->getWidth(), camera()->getHeight(), camera()->getPosX(), camera()->getPosY()}),
              std::vector<int>({1000, 700, 140, 162}));
    EXPECT_DOUBLE_EQ(camera()->getFrameRate(), fps);
    EXPECT_DOUBLE_EQ(camera()->getExposure(), exposure);
    // Largest offsets the camera reports off the step are rounded down to it.
    ueye_sim::scriptQuery("is_SetImagePos", 0xC007, 282);
    ueye_sim::scriptQuery("is_SetImagePos", 0xC008, 325);
    ueye_sim::clearCallLog();
    camera()->setAOI(1001, 701);
    int centred = 0;
    for (const auto& record : ueye_sim::callLog())
        centred += record.function == "is_SetImagePos" && contains(record.arguments, ", 140, 162");
    EXPECT_EQ(centred, 1);
    // A step of 0 or less does not divide by zero.
    ueye_sim::clearScripts();
    ueye_sim::scriptQuery("is_SetImagePos", 0xC003, 0);
    ueye_sim::scriptQuery("is_SetImagePos", 0xC004, -2);
    camera()->setAOI(640, 480);
    EXPECT_EQ(camera()->getWidth(), 640);
}

TEST_F(ControlsTest, RefusedAreaLeavesTheOffsetAtTheCorner) {
    open("SIM1280-C");
    camera()->setAOI(640, 480);
    config()->setConfSaved(true);
    EXPECT_TRUE(contains(thrownText([&] { camera()->setAOI(4000, 4000); }), "is_SetImageSize"));
    EXPECT_EQ(std::vector<int>({camera()->getWidth(), camera()->getPosX(), camera()->getPosY()}),
              std::vector<int>({640, 0, 0}));
    EXPECT_TRUE(config()->getConfSaved());
}

// Each range's bounds are what the camera clamps to and accepts: a host that
// refuses values outside them refuses nothing the camera would take.
TEST_F(ControlsTest, RangesAreTheBoundsTheCameraHolds) {
    open("SIM1284-M");
    using Nimbrel_model::Camera;
    struct Control {
        const char* name;
        Nimbrel_model::SettingRange (Camera::*range)() const;
        std::function<void(Camera&, double)> set;
        std::function<double(Camera&)> get;
    };
    const std::vector<Control> controls = {
        {"exposure", &Camera::getExposureRange, [](Camera& c, double v) { c.setExposure(v); },
         [](Camera& c) { return c.getExposure(); }},
        {"frame rate", &Camera::getFrameRateRange, [](Camera& c, double v) { c.setFrameRate(v); },
         [](Camera& c) { return c.getFrameRate(); }},
        {"gain", &Camera::getGainRange, [](Camera& c, double v) { c.setGain(int(v), -1, -1, -1); },
         [](Camera& c) { return c.getGain(); }},
        {"red gain", &Camera::getColorGainRange, [](Camera& c, double v) { c.setGain(-1, int(v), -1, -1); },
         [](Camera& c) { return c.getRedGain(); }},
        {"brightness", &Camera::getBrightnessRange, [](Camera& c, double v) { c.setBrightness(int(v)); },
         [](Camera& c) { return double(c.getBrightness()); }},
        {"width", &Camera::getWidthRange, [](Camera& c, double v) { c.setAOI(int(v), c.getHeight()); },
         [](Camera& c) { return double(c.getWidth()); }},
        {"height", &Camera::getHeightRange, [](Camera& c, double v) { c.setAOI(c.getWidth(), int(v)); },
         [](Camera& c) { return double(c.getHeight()); }},
    };
    for (const Control& control : controls) {
        const auto range = (camera()->*control.range)();
        ASSERT_LT(range.min, range.max) << control.name;
        for (const double bound : {range.min, range.max}) {
            control.set(*camera(), bound);
            EXPECT_NEAR(control.get(*camera()), bound, 1e-9) << control.name;
        }
        try {  // the area's setter refuses what does not fit, the others clamp
            control.set(*camera(), range.max + std::max(range.step, 1.0) * 4);
        } catch (const Qel::Exception&) {
        }
        EXPECT_LE(control.get(*camera()), range.max + 1e-9) << control.name;
    }
    ueye_sim::scriptFrameTimeRange(0, 0.0, 2.0, 0.0);
    EXPECT_TRUE(contains(thrownText([&] { (void)camera()->getFrameRateRange(); }), "is_GetFrameTimeRange"));
}

TEST_F(ControlsTest, DefaultAreaIsTheWholeSensorInOneCall) {
    open("SIM2592-C");
    camera()->setAOI(800, 600);
    config()->setConfSaved(false);
    ueye_sim::clearCallLog();
    camera()->setDefaultAOI();
    EXPECT_EQ(calls(), std::vector<std::string>{"is_SetAOI"});
    EXPECT_EQ(std::vector<int>({camera()->getWidth(), camera()->getHeight(), camera()->getPosX(), camera()->getPosY()}),
              std::vector<int>({2592, 1944, 0, 0}));
    EXPECT_FALSE(config()->getConfSaved());
}

TEST_F(ControlsTest, SavedPresetHoldsTheCameraValuesAndOpensTheNextInit) {
    open("SIM1280-C");
    camera()->setGain(10, 20, 30, 40);
    camera()->setAutoGain(false);
    camera()->setBrightness(99);
    camera()->setAOI(1001, 701);
    camera()->setExposure(6.0);
    const double exposure = camera()->getExposure();
    ueye_sim::clearCallLog();
    camera()->saveUserSettings();
    EXPECT_TRUE(config()->getConfSaved());
    for (const char* element :
         {"<UserMasterGain>10</UserMasterGain>", "<UserRedGain>20</UserRedGain>", "<UserGreenGain>30</UserGreenGain>",
          "<UserBlueGain>40</UserBlueGain>", "<UserAutoGain>false</UserAutoGain>",
          "<UserBrightness>99</UserBrightness>", "<UserWidth>1000</UserWidth>", "<UserHeight>700</UserHeight>"})
        EXPECT_TRUE(contains(configText(), element)) << element;
    camera()->init();
    EXPECT_TRUE(config()->getConfSaved());
    EXPECT_EQ(std::vector<int>({camera()->getWidth(), camera()->getPosX()}), std::vector<int>({1000, 140}));
    EXPECT_DOUBLE_EQ(camera()->getExposure(), exposure);
}

TEST_F(ControlsTest, FailingSaveKeepsWhatItStoredAndTheFlag) {
    open("SIM1280-C");
    ueye_sim::failCall("is_SetExposureTime", 8);
    config()->setConfSaved(false);
    expectSdkFailure([&] { camera()->saveUserSettings(); }, "is_SetExposureTime", 8);
    EXPECT_FALSE(config()->getConfSaved());
    EXPECT_TRUE(contains(configText(), "<UserBrightness>"));
    EXPECT_FALSE(contains(configText(), "<UserExposure>"));
    EXPECT_FALSE(contains(configText(), "<UserWidth>"));
}

TEST_F(ControlsTest, ResetRemovesThePresetAndReopensWithTheFactoryValues) {
    open("SIM1280-C");
    config()->setConfSaved(false);
    camera()->resetUserSettings();  // without a preset, too
    EXPECT_TRUE(config()->getConfSaved());
    camera()->setAOI(640, 480);
    camera()->saveUserSettings();
    camera()->setGain(1, 2, 3, 4);
    ueye_sim::clearCallLog();
    camera()->resetUserSettings();
    EXPECT_FALSE(config()->isUserDefined("SIM1280-C"));
    EXPECT_FALSE(contains(configText(), "<User"));
    EXPECT_TRUE(config()->getConfSaved());
    EXPECT_EQ(camera()->getWidth(), 1280);
    EXPECT_EQ(calls().front(), "is_StopLiveVideo");
    EXPECT_TRUE(ueye_sim::state().capturing);
}

TEST_F(ControlsTest, ResetStopsARunningRecordingFirst) {
    open("SIM1280-C");
    TempDir dir;
    CountingListener listener;
    camera()->startRecording(&listener, dir.file("r.avi"), 0, 25, 1000, 25);
    ASSERT_TRUE(pumpUntil([&] { return fileSize(dir.file("r.avi")) > 200000; }, 10000));
    camera()->resetUserSettings();
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
    EXPECT_EQ(listener.recordEnds, 0);
    const VideoInfo info = probeVideo(dir.file("r.avi"));
    EXPECT_EQ(info.indexFrames, std::to_string(info.frames));  // the index was written
}

// The frame-rate argument of a logged is_SetFrameRate call: "handle, value, out".
double frameRateArgument(const ueye_sim::CallRecord& record) {
    return std::stod(record.arguments.substr(record.arguments.find(", ") + 2));
}

class OptimizeTest : public CameraFixture {
protected:
    CountingListener listener;
    bool optimize() {
        ueye_sim::clearCallLog();
        camera()->optimizeClock(&listener);
        return pumpUntil([&] { return listener.optimizeEnds >= 1; }, 15000);
    }
};

TEST_F(OptimizeTest, RaisesTheFrameRateOnAWorkerThread) {
    open("SIM2592-C");
    const double before = camera()->getFrameRate();
    config()->setConfSaved(true);
    camera()->optimizeClock(&listener);
    EXPECT_FALSE(config()->getConfSaved());  // at once, before the work is done
    ASSERT_TRUE(pumpUntil([&] { return listener.optimizeEnds >= 1; }, 15000));
    EXPECT_NE(listener.optimizeThread, std::this_thread::get_id());
    EXPECT_GT(camera()->getFrameRate(), before);
}

TEST_F(OptimizeTest, FailedSearchChangesNothingButStillEnds) {
    open("SIM2592-C");
    const auto before = ueye_sim::state();
    ueye_sim::scriptOptimalTiming(-1, 80, 99.0);
    ASSERT_TRUE(optimize());
    EXPECT_EQ(ueye_sim::state().pixelClock, before.pixelClock);
    EXPECT_DOUBLE_EQ(ueye_sim::state().frameRate, before.frameRate);
}

TEST_F(OptimizeTest, ShortestFrameTimeWinsWhenFasterAndAFailedRangeKeepsTheSearchResult) {
    open("SIM1280-C");
    camera()->setAOI(640, 480);
    ueye_sim::scriptOptimalTiming(0, 40, 10.0);
    ueye_sim::scriptFrameTimeRange(0, 1.0 / 50.0, 2.0, 0.0001);
    ASSERT_TRUE(optimize());
    EXPECT_EQ(calls(), std::vector<std::string>(
                           {"is_GetOptimalTiming", "is_SetPixelClock", "is_GetFrameTimeRange", "is_SetFrameRate"}));
    EXPECT_NEAR(frameRateArgument(ueye_sim::callLog().back()), 50.0, 1e-9);
    listener.optimizeEnds = 0;
    ueye_sim::scriptOptimalTiming(0, 40, 12.5);
    ueye_sim::scriptFrameTimeRange(-1, 0.001, 2.0, 0.0001);
    ASSERT_TRUE(optimize());
    EXPECT_DOUBLE_EQ(frameRateArgument(ueye_sim::callLog().back()), 12.5);
}

TEST_F(OptimizeTest, NullListenerIsFine) {
    open("SIM2592-C");
    const double before = camera()->getFrameRate();
    camera()->optimizeClock(nullptr);
    ASSERT_TRUE(pumpUntil([&] { return camera()->getFrameRate() > before; }, 15000));
}

TEST_F(OptimizeTest, OtherThreadTypesDoNothing) {
    open("SIM1280-C");
    ueye_sim::clearCallLog();
    auto* thread = new Nimbrel_model::Thread(3, &listener);
    EXPECT_EQ(thread->getType(), 3);
    ThreadWatch threads;
    ASSERT_EQ(thread->Run(), wxTHREAD_NO_ERROR);
    ASSERT_TRUE(threads.waitForOthersToEnd());
    EXPECT_EQ(listener.optimizeEnds, 0);
    EXPECT_TRUE(ueye_sim::callLog().empty());
}

TEST_F(OptimizeTest, ResetWaitsForARunningOptimization) {
    open("SIM2592-C");
    camera()->optimizeClock(&listener);
    camera()->resetUserSettings();
    EXPECT_EQ(listener.optimizeEnds, 1);
    EXPECT_TRUE(ueye_sim::state().capturing);
}

TEST_F(OptimizeTest, ExitDoesNotWaitAndTheWorkerSurvives) {
    open("SIM2592-C");
    camera()->optimizeClock(&listener);
    camera()->exit();
    ASSERT_TRUE(pumpUntil([&] { return listener.optimizeEnds >= 1; }, 15000));
}

}  // namespace
}  // namespace testsupport
