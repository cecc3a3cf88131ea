// Failures of the AVI tools: reported, and never leaving a recording that
// cannot be closed or a start that cannot be repeated.
#include "AviProbe.h"
#include "CameraFixture.h"

namespace camtest {
namespace {

class RecordingFailureTest : public CameraFixture {
protected:
    testsupport::TempDir dir;
    CountingListener listener;

    void tick() { recordTick(camera()); }
    void recordBriefly(const std::string& name) {
        camera()->startRecording(&listener, dir.file(name), 0, 25, 1000, 25);
        camera()->pauseRecording();
        tick();
        camera()->stopRecording();
        EXPECT_EQ(probeAvi(dir.file(name)).frames, 1);
    }
};

TEST_F(RecordingFailureTest, EveryStartCall) {
    open();
    const std::string file = dir.file("exists.avi");
    struct Case {
        const char* function;
        bool fileDeleted;
    };
    for (const Case c : {Case{"isavi_InitAVI", false}, Case{"is_SetAOI", false}, Case{"isavi_SetImageSize", false},
                         Case{"isavi_SetImageQuality", false}, Case{"isavi_OpenAVI", true},
                         Case{"isavi_SetFrameRate", true}, Case{"isavi_StartAVI", true}}) {
        SCOPED_TRACE(c.function);
        testsupport::writeFile(file, "old recording");
        ueye_sim::failCall(c.function, 55);
        expectSdkFailure([&] { camera()->startRecording(&listener, file, 0, 25, 1000, 25); }, c.function, 55);
        ueye_sim::clearScripts();
        EXPECT_EQ(testsupport::fileExists(file) && testsupport::readFile(file) == "old recording", !c.fileDeleted);
        EXPECT_EQ(ueye_sim::openAviInstances(), 0);
        // Nothing was opened: the next start opens a new recording.
        recordBriefly("after.avi");
    }
    EXPECT_EQ(listener.recordEnds, 0);
}

TEST_F(RecordingFailureTest, StopCallsFailAndCanBeRepeated) {
    open();
    for (const char* function : {"isavi_StopAVI", "isavi_CloseAVI", "isavi_ExitAVI"}) {
        SCOPED_TRACE(function);
        camera()->startRecording(&listener, dir.file("s.avi"), 0, 25, 1000, 25);
        camera()->pauseRecording();
        tick();
        ueye_sim::failCall(function, 66, 1);
        expectSdkFailure([&] { camera()->stopRecording(); }, function, 66);
        // The AVI id is kept: stopping again finishes the file.
        camera()->stopRecording();
        EXPECT_EQ(ueye_sim::openAviInstances(), 0);
        EXPECT_EQ(probeAvi(dir.file("s.avi")).indexFrames, "1");
        ueye_sim::clearScripts();
        recordBriefly("again.avi");
    }
}

TEST_F(RecordingFailureTest, SizeQueryFailureLeavesAPausedRecording) {
    open();
    camera()->startRecording(&listener, dir.file("q.avi"), 0, 25, 1000, 25);
    camera()->pauseRecording();
    tick();
    ueye_sim::failCall("isavi_GetAVISize", 12, 1);
    expectSdkFailure([&] { tick(); }, "isavi_GetAVISize", 12);
    tick();  // resumable: the next tick writes again
    camera()->stopRecording();
    EXPECT_EQ(probeAvi(dir.file("q.avi")).frames, 2);
    EXPECT_EQ(listener.recordEnds, 0);
}

TEST_F(RecordingFailureTest, AddFrameFailureLeavesAPausedRecording) {
    open("SIM1280-M");
    camera()->startRecording(&listener, dir.file("a.avi"), 1, 8, 1000, 25);
    camera()->pauseRecording();
    ueye_sim::failCall("isavi_AddFrame", 13, 1);
    expectSdkFailure([&] { tick(); }, "isavi_AddFrame", 13);
    // A failed frame does not count against the length.
    int ticks = 0;
    while (listener.recordEnds == 0 && ticks < 50) {
        tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 8);
}

TEST_F(RecordingFailureTest, StopWithoutARecordingReportsTheAviTools) {
    open();
    try {
        camera()->stopRecording();
        FAIL() << "stopping nothing went unreported";
    } catch (const Qel::Exception& e) {
        EXPECT_NE(e.getMessage().str().find("isavi_StopAVI"), std::string::npos);
    }
}

TEST_F(RecordingFailureTest, RepeatedFailedStartsLeakNothing) {
    open();
    ueye_sim::failCall("isavi_OpenAVI", 20);
    for (int i = 0; i < 50; ++i)
        EXPECT_THROW(camera()->startRecording(&listener, dir.file("n.avi"), 0, 25, 1000, 25), Qel::Exception);
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
}

}  // namespace
}  // namespace camtest
