// The frame writer's rules, with ticks delivered by hand to a paused recording.
#include "AviProbe.h"
#include "CameraFixture.h"

#include <wx/app.h>

namespace camtest {
namespace {

class FrameWriterTest : public CameraFixture {
protected:
    testsupport::TempDir dir;
    CountingListener listener;

    void start(const std::string& file, double length, double fps, double maxSize, long replay = 25) {
        camera()->startRecording(&listener, dir.file(file), length, fps, maxSize, replay);
        camera()->pauseRecording();  // ticks come from the test
    }
    void resume(double length, double fps = 8, double maxSize = 1000) {
        camera()->startRecording(&listener, dir.file("ignored.avi"), length, fps, maxSize, 99);
        camera()->pauseRecording();
    }
    void tick() { recordTick(camera()); }
    // Ticks until the recording ends by itself or `limit` ticks; returns the ticks made.
    int tickUntilEnd(int limit) {
        const int before = listener.recordEnds;
        for (int n = 1; n <= limit; ++n) {
            tick();
            if (listener.recordEnds > before) return n;
        }
        return limit + 1;
    }
};

TEST_F(FrameWriterTest, SizeLimitBelowOneMegabyteEndsAtTheFirstTick) {
    open();
    start("small.avi", 0, 25, 0.9);
    tick();
    EXPECT_EQ(listener.recordEnds, 1);
    EXPECT_EQ(probeAvi(dir.file("small.avi")).frames, 0);
}

TEST_F(FrameWriterTest, SizeLimitEndsOnceTheFileReachesIt) {
    open();
    start("two.avi", 0, 25, 2);
    ASSERT_LT(tickUntilEnd(2000), 2000);
    const long long size = testsupport::fileSize(dir.file("two.avi"));
    EXPECT_GE(size, 2LL * 1024 * 1024);
    EXPECT_LT(size, 2LL * 1024 * 1024 + 512 * 1024);  // not much more than one frame past the limit
}

TEST_F(FrameWriterTest, LengthCountsFramesNotWallTime) {
    open();
    start("len.avi", 1, 8, 1000);
    EXPECT_EQ(tickUntilEnd(100), 8);
    EXPECT_EQ(probeAvi(dir.file("len.avi")).frames, 8);
}

TEST_F(FrameWriterTest, ResumeKeepsTheTimeAlreadyRecorded) {
    open();
    start("resume.avi", 10, 8, 1000);
    for (int i = 0; i < 32; ++i) tick();  // 4 s
    resume(10);
    EXPECT_EQ(tickUntilEnd(500), 48);  // 6 s left
    EXPECT_EQ(probeAvi(dir.file("resume.avi")).frames, 80);
}

TEST_F(FrameWriterTest, ResumeWithALongerLength) {
    open();
    start("longer.avi", 10, 8, 1000);
    for (int i = 0; i < 32; ++i) tick();
    resume(20);
    EXPECT_EQ(tickUntilEnd(500), 128);  // 16 s left
}

TEST_F(FrameWriterTest, ResumeWithZeroLengthRemovesTheLimit) {
    open();
    start("nolimit.avi", 10, 8, 1000);
    for (int i = 0; i < 32; ++i) tick();
    resume(0);
    EXPECT_EQ(tickUntilEnd(100), 101);
    camera()->stopRecording();
    EXPECT_EQ(probeAvi(dir.file("nolimit.avi")).frames, 132);
    // The file name and replay rate of the resume were ignored.
    EXPECT_FALSE(testsupport::fileExists(dir.file("ignored.avi")));
    EXPECT_EQ(probeAvi(dir.file("nolimit.avi")).rate, "25/1");
}

TEST_F(FrameWriterTest, Status317CountsAsWritten) {
    open();
    start("warn.avi", 1, 8, 1000);
    ueye_sim::failCall("isavi_AddFrame", 317);
    ueye_sim::failCall("isavi_GetAVISize", 317);
    EXPECT_EQ(tickUntilEnd(100), 8);
}

TEST_F(FrameWriterTest, AoiChangeDuringRecordingKeepsTheFileSize) {
    open();
    camera()->setAOI(640, 480);
    start("keep.avi", 0, 25, 1000);
    tick();
    camera()->setDefaultAOI();
    tick();
    camera()->stopRecording();
    const AviInfo info = probeAvi(dir.file("keep.avi"));
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.frames, 2);
}

TEST_F(FrameWriterTest, HostPauseDuringTheYieldEndsTheTick) {
    open();
    start("yield.avi", 0, 25, 1000);
    tick();
    wxTheApp->CallAfter([this] { camera()->pauseRecording(); });
    tick();
    camera()->stopRecording();
    EXPECT_EQ(probeAvi(dir.file("yield.avi")).frames, 1);
}

TEST_F(FrameWriterTest, HostStopDuringTheYieldEndsTheTick) {
    open();
    start("yieldstop.avi", 0, 25, 1000);
    tick();
    wxTheApp->CallAfter([this] { camera()->stopRecording(); });
    EXPECT_NO_THROW(tick());
    EXPECT_EQ(listener.recordEnds, 0);
    EXPECT_EQ(probeAvi(dir.file("yieldstop.avi")).frames, 1);
}

TEST_F(FrameWriterTest, ClosedCameraUnderARecordingIsReportedAndRecoverable) {
    open();
    start("closed.avi", 0, 25, 1000);
    tick();
    camera()->exit();
    try {
        tick();
        FAIL() << "a tick without a picture went unreported";
    } catch (const Qel::Exception& e) {
        EXPECT_NE(e.getMessage().str().find("is_GetActiveBuffer"), std::string::npos);
    }
    camera()->stopRecording();
    EXPECT_EQ(probeAvi(dir.file("closed.avi")).frames, 1);
    EXPECT_EQ(probeAvi(dir.file("closed.avi")).indexFrames, "1");
}

TEST_F(FrameWriterTest, ReopenedAsAnotherSensorIsNotRead) {
    open("SIM1280-C");
    start("other.avi", 0, 25, 1000);
    tick();
    camera()->exit();
    ueye_sim::connectCamera("SIM4912-M");
    camera()->init();
    EXPECT_THROW(tick(), Qel::Exception);
    camera()->stopRecording();
    EXPECT_EQ(probeAvi(dir.file("other.avi")).frames, 1);
}

}  // namespace
}  // namespace camtest
