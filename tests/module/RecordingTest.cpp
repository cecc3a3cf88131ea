// Recordings read back from the file: through the event loop's timer, and
// with ticks delivered by hand to a paused recording. Failures of single AVI
// calls are the fault sweep's.
#include "CameraFixture.h"
#include "Video.h"

#include <wx/app.h>

namespace testsupport {
namespace {

class RecordingTest : public CameraFixture {
protected:
    TempDir dir;
    CountingListener listener;

    bool waitForEnd() {
        return pumpUntil([&] { return listener.recordEnds > 0; }, 20000);
    }
    // A paused recording: the test delivers the ticks.
    void start(const std::string& file, double length, double fps, double maxSize, long replay = 25) {
        camera()->startRecording(&listener, dir.file(file), length, fps, maxSize, replay);
        camera()->pauseRecording();
    }
    void tick() { recordTick(camera()); }
    // Ticks until the recording ends by itself; the ticks made, or limit + 1.
    int tickUntilEnd(int limit) {
        const int before = listener.recordEnds;
        for (int n = 1; n <= limit; ++n) {
            tick();
            if (listener.recordEnds > before) return n;
        }
        return limit + 1;
    }
};

// The sampled pixels of the static colour bars whose dominant colour in the
// decoded frame is wrong. (x, y) of the frame is (x + dx, y + dy) of the sensor.
void expectBarsMatch(const BgrImage& frame, const std::string& sensor, int dx, int dy) {
    const auto& model = *ueye_sim::findModel(sensor);
    int checked = 0, wrong = 0;
    for (int y = 0; y < frame.height(); y += 17) {
        for (int x = 0; x < frame.width(); x += 13) {
            if (y + dy < model.maxHeight / 2 + 8) continue;  // the moving half
            const auto want = ueye_sim::patternAt(model, x + dx, y + dy, 0);
            const Bgr got = frame.at(x, y);
            const bool red = want.r > 200 && want.g < 60 && want.b < 60;
            const bool blue = want.b > 200 && want.r < 60 && want.g < 60;
            checked += red || blue;
            wrong += (red && !(got.r > got.b + 80)) || (blue && !(got.b > got.r + 80));
        }
    }
    EXPECT_GT(checked, 10);
    EXPECT_LE(wrong, checked / 20) << wrong << " of " << checked << " samples have red and blue wrong";
}

TEST_F(RecordingTest, TwoSecondsAtTwentyFiveClosedBeforeRecordEnd) {
    open("SIM1280-C");
    const std::string file = dir.file("two.avi");
    bool closedBeforeEnd = false;
    listener.onRecordEnd = [&] { closedBeforeEnd = ueye_sim::openAviInstances() == 0; };
    camera()->startRecording(&listener, file, 2, 25, 1000, 25);
    ASSERT_TRUE(waitForEnd());
    pumpFor(200);  // no second recordEnd comes
    EXPECT_EQ(listener.recordEnds, 1);
    EXPECT_TRUE(closedBeforeEnd);
    EXPECT_EQ(probeVideo(file).summary(), "mjpeg/MJPG 1280x1024 25/1 50/50");
    const auto frame = decodeFrame(file, 10, 1280, 1024);
    ASSERT_TRUE(frame);
    expectBarsMatch(*frame, "SIM1280-C", 0, 0);
}

TEST_F(RecordingTest, AreaOfInterestSetsTheFrame) {
    open("SIM1280-C");
    camera()->setAOI(640, 480);
    const std::string file = dir.file("aoi.avi");
    camera()->startRecording(&listener, file, 0.5, 25, 1000, 25);
    ASSERT_TRUE(waitForEnd());
    // 0.5 s at 25 fps: the 13th frame's time takes it below zero.
    EXPECT_EQ(probeVideo(file).summary(), "mjpeg/MJPG 640x480 25/1 13/13");
    const auto frame = decodeFrame(file, 5, 640, 480);
    ASSERT_TRUE(frame);
    expectBarsMatch(*frame, "SIM1280-C", camera()->getPosX(), camera()->getPosY());
}

TEST_F(RecordingTest, MonochromeFramesAreGrey) {
    open("SIM1280-M");
    const std::string file = dir.file("grey.avi");
    camera()->startRecording(&listener, file, 0.4, 25, 1000, 25);
    ASSERT_TRUE(waitForEnd());
    const auto frame = decodeFrame(file, 3, 1280, 1024);
    ASSERT_TRUE(frame);
    int off = 0;
    for (int y = 0; y < 1024; y += 7)
        for (int x = 0; x < 1280; x += 101) {
            const Bgr got = frame->at(x, y);
            off += std::abs(got.b - got.r) > 12 || std::abs(got.g - got.r) > 12;
        }
    EXPECT_LT(off, 50);
}

TEST_F(RecordingTest, StoppedByTheHostSendsNoRecordEnd) {
    open("SIM1280-C");
    const std::string file = dir.file("stop.avi");
    camera()->startRecording(&listener, file, 0, 25, 1000, 25);
    // Some frames in, however slow the machine.
    ASSERT_TRUE(pumpUntil([&] { return fileSize(file) > 200000; }, 30000));
    camera()->stopRecording();
    pumpFor(200);
    EXPECT_EQ(listener.recordEnds, 0);
    const VideoInfo info = probeVideo(file);
    EXPECT_GT(info.frames, 1);
    EXPECT_EQ(info.indexFrames, std::to_string(info.frames));
}

TEST_F(RecordingTest, ListenerMayStartTheNextRecording) {
    open("SIM1280-C");
    const std::string second = dir.file("second.avi");
    listener.onRecordEnd = [&] {
        if (listener.recordEnds == 1) camera()->startRecording(&listener, second, 0.2, 25, 1000, 25);
    };
    camera()->startRecording(&listener, dir.file("first.avi"), 0.2, 25, 1000, 25);
    // The second recording lists the listener twice: it hears the end twice more.
    ASSERT_TRUE(pumpUntil([&] { return listener.recordEnds >= 3; }, 20000));
    EXPECT_EQ(probeVideo(second).frames, 5);
}

// A recording ticked by hand, maybe failing at its first tick, maybe resumed.
struct HandRun {
    const char* name;
    const char* sensor;
    double length, fps, maxSize;
    const char* failingAtFirstTick;  // its failure is reported; the frame is not counted
    int ticksBeforeResume;           // 0: no resume
    double resumeLength;
    int ticksToEnd;  // after the resume; -1: no end within 200
    long frames;     // in the file
};

void PrintTo(const HandRun& run, std::ostream* out) { *out << run.name; }

class HandTicks : public RecordingTest, public ::testing::WithParamInterface<HandRun> {};

TEST_P(HandTicks, EndAndFramesInTheFile) {
    const HandRun& run = GetParam();
    open(run.sensor);
    camera()->setFrameRate(8.0);  // what a negative recording rate takes
    start("run.avi", run.length, run.fps, run.maxSize);
    if (run.failingAtFirstTick) {
        ueye_sim::failCall(run.failingAtFirstTick, 13, 1);
        expectSdkFailure([&] { tick(); }, run.failingAtFirstTick, 13);
    }
    for (int i = 0; i < run.ticksBeforeResume; ++i) tick();
    // The resume's file name and replay rate are ignored.
    if (run.ticksBeforeResume > 0) start("ignored.avi", run.resumeLength, 8, 1000, 99);
    EXPECT_EQ(tickUntilEnd(200), run.ticksToEnd < 0 ? 201 : run.ticksToEnd);
    if (run.ticksToEnd < 0) camera()->stopRecording();
    EXPECT_EQ(listener.recordEnds, run.ticksToEnd < 0 ? 0 : 1);
    const VideoInfo info = probeVideo(dir.file("run.avi"));
    EXPECT_EQ(info.frames, run.frames);
    EXPECT_EQ(info.rate, "25/1");
    EXPECT_FALSE(fileExists(dir.file("ignored.avi")));
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, HandTicks,
    ::testing::Values(
        HandRun{"SizeBelowOneMegabyteEndsAtTheFirstTick", "SIM1280-C", 0, 25, 0.9, nullptr, 0, 0, 1, 0},
        HandRun{"LengthCountsFramesNotWallTime", "SIM1280-C", 1, 8, 1000, nullptr, 0, 0, 8, 8},
        HandRun{"NegativeRateTakesTheCameraRate", "SIM1280-C", 1, -1, 1000, nullptr, 0, 0, 8, 8},
        HandRun{"ResumeKeepsTheTimeAlreadyRecorded", "SIM1280-C", 10, 8, 1000, nullptr, 32, 10, 48, 80},
        HandRun{"ResumeWithALongerLength", "SIM1280-C", 10, 8, 1000, nullptr, 32, 20, 128, 160},
        HandRun{"ResumeWithAShorterLength", "SIM1280-C", 10, 8, 1000, nullptr, 32, 5, 8, 40},
        HandRun{"ResumeWithNegativeLengthRemovesTheLimit", "SIM1280-C", 10, 8, 1000, nullptr, 32, -1, -1, 232},
        HandRun{"ResumeWithZeroLengthRemovesTheLimit", "SIM1280-C", 10, 8, 1000, nullptr, 32, 0, -1, 232},
        HandRun{"FailedSizeQueryPausesTheRecording", "SIM1280-C", 1, 8, 1000, "isavi_GetAVISize", 0, 0, 8, 8},
        HandRun{"FailedFramePausesTheRecording", "SIM1280-M", 1, 8, 1000, "isavi_AddFrame", 0, 0, 8, 8}));

TEST_F(RecordingTest, SizeLimitEndsOnceTheFileReachesIt) {
    open();
    start("two.avi", 0, 25, 2);
    ASSERT_LT(tickUntilEnd(2000), 2000);
    const long long size = fileSize(dir.file("two.avi"));
    EXPECT_GE(size, 2LL * 1024 * 1024);
    EXPECT_LT(size, 2LL * 1024 * 1024 + 512 * 1024);  // not much more than one frame past the limit
}

TEST_F(RecordingTest, AreaChangeDuringRecordingKeepsTheFrameSize) {
    open();
    camera()->setAOI(640, 480);
    start("keep.avi", 0, 25, 1000);
    tick();
    camera()->setDefaultAOI();
    tick();
    camera()->stopRecording();
    EXPECT_EQ(probeVideo(dir.file("keep.avi")).summary(), "mjpeg/MJPG 640x480 25/1 2/2");
}

TEST_F(RecordingTest, HostPauseOrStopDuringTheYieldEndsTheTick) {
    open();
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stop" : "pause");
        const std::string file = stop ? "yieldstop.avi" : "yield.avi";
        start(file, 0, 25, 1000);
        tick();
        wxTheApp->CallAfter([this, stop] { stop ? camera()->stopRecording() : camera()->pauseRecording(); });
        EXPECT_EQ(thrownText([&] { tick(); }), "");
        if (!stop) camera()->stopRecording();
        EXPECT_EQ(listener.recordEnds, 0);
        EXPECT_EQ(probeVideo(dir.file(file)).frames, 1);
    }
}

TEST_F(RecordingTest, ClosedOrReplacedCameraUnderARecordingIsReportedAndRecoverable) {
    open("SIM1280-C");
    start("closed.avi", 0, 25, 1000);
    tick();
    camera()->exit();
    EXPECT_NE(thrownText([&] { tick(); }).find("is_GetActiveBuffer"), std::string::npos);
    ueye_sim::connectCamera("SIM4912-M");
    camera()->init();
    EXPECT_NE(thrownText([&] { tick(); }), "");  // another sensor's picture is not read
    camera()->stopRecording();
    EXPECT_EQ(probeVideo(dir.file("closed.avi")).summary(), "mjpeg/MJPG 1280x1024 25/1 1/1");
}

TEST_F(RecordingTest, FailedStartDeletesAnOldFileOnlyOnceItOpened) {
    open();
    const std::string file = dir.file("exists.avi");
    const char* const calls[] = {"isavi_InitAVI", "is_SetAOI",          "isavi_SetImageSize", "isavi_SetImageQuality",
                                 "isavi_OpenAVI", "isavi_SetFrameRate", "isavi_StartAVI"};
    for (int i = 0; i < 7; ++i) {
        const char* function = calls[i];
        writeFile(file, "old recording");
        ueye_sim::failCall(function, 55);
        expectSdkFailure([&] { camera()->startRecording(&listener, file, 0, 25, 1000, 25); }, function, 55);
        ueye_sim::clearScripts();
        const bool opened = i >= 4;  // from isavi_OpenAVI on
        EXPECT_EQ(fileExists(file) && readFile(file) == "old recording", !opened) << function;
    }
}

TEST_F(RecordingTest, StopWithoutARecordingReportsTheAviTools) {
    open();
    EXPECT_NE(thrownText([&] { camera()->stopRecording(); }).find("isavi_StopAVI"), std::string::npos);
}

TEST_F(RecordingTest, RemoveListenerRemovesEveryCopy) {
    CountingListener a, b;
    open();
    // Three recordings ended by their size limit register a, b, a.
    for (CountingListener* l : {&a, &b, &a}) {
        camera()->startRecording(l, dir.file("x.avi"), 0, 25, 0, 25);
        camera()->pauseRecording();
        tick();
    }
    // The lists were [a], [a, b], [a, b, a].
    EXPECT_EQ(a.recordEnds + 10 * b.recordEnds, 4 + 10 * 2);
    camera()->removeListener(&a);
    camera()->startRecording(&b, dir.file("x.avi"), 0, 25, 0, 25);
    camera()->pauseRecording();
    tick();
    EXPECT_EQ(a.recordEnds + 10 * b.recordEnds, 4 + 10 * 4);  // [b, b]
    camera()->removeListener(&b);
    camera()->removeListener(&b);  // absent: no change
}

}  // namespace
}  // namespace testsupport
