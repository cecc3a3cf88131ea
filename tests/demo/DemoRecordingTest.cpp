// Recordings: complete playable files at the asked rate, progress output,
// Ctrl-C, and the default job.
#include "DemoProcess.h"
#include "TestSupport.h"
#include "VideoProbe.h"

#include <gtest/gtest.h>

#include <csignal>

namespace demotest {
namespace {

TEST(DemoRecording, OneSecondAtTwentyFiveFramesHoldsTwentyFiveFrames) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--record", "short.avi", "--seconds", "1", "--fps", "25"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    auto video = probeVideo(work.file("short.avi"));
    EXPECT_EQ(video["codec_name"], "mjpeg");
    EXPECT_EQ(video["width"], "1280");
    EXPECT_EQ(video["height"], "1024");
    EXPECT_EQ(video["r_frame_rate"], "25/1");
    EXPECT_EQ(video["nb_read_packets"], "25");
    EXPECT_EQ(aviHeaderFrames(work.file("short.avi")), 25);
    EXPECT_NE(result.out.find("recording ended at its length limit"), std::string::npos) << result.out;
    EXPECT_EQ(lineStarting(result.out, "  frames:"), "  frames:      25 (the full 1 s at 25 fps is 25)");
}

TEST(DemoRecording, ReplayRateAndAreaReachTheFile) {
    testsupport::TempDir work;
    DemoResult result = runDemo(
        {{"--aoi", "640x480", "--record", "slow.avi", "--seconds", "1", "--fps", "8", "--replay", "4"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    auto video = probeVideo(work.file("slow.avi"));
    EXPECT_EQ(video["width"], "640");
    EXPECT_EQ(video["height"], "480");
    EXPECT_EQ(video["r_frame_rate"], "4/1");
    // 1/8 s is exact in binary, so the module's countdown ends after 8 frames.
    EXPECT_EQ(video["nb_read_packets"], "8");
}

TEST(DemoRecording, ProgressIsPlainLinesWhenOutputIsNotATerminal) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--record", "p.avi", "--seconds", "2", "--fps", "25"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.find('\r'), std::string::npos);
    std::string progress = lineStarting(result.out, "progress: ");
    EXPECT_NE(progress, "") << result.out;
    EXPECT_NE(progress.find("/2 s recorded"), std::string::npos) << progress;
    EXPECT_NE(progress.find(" MB"), std::string::npos) << progress;
    EXPECT_NE(progress.find(" fps"), std::string::npos) << progress;
}

TEST(DemoRecording, InterruptLeavesACompletePlayableFile) {
    testsupport::TempDir work;
    DemoProcess demo({{"--record", "long.avi", "--seconds", "10", "--fps", "25"}, work.path()});
    // The first progress line means frames are being written.
    ASSERT_TRUE(demo.waitForOutput("progress: "));
    demo.sendSignal(SIGINT);
    DemoResult result = demo.finish();

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("recording stopped by SIGINT"), std::string::npos) << result.out;
    auto video = probeVideo(work.file("long.avi"));
    EXPECT_EQ(video["codec_name"], "mjpeg");
    long long packets = std::stoll(video["nb_read_packets"]);
    EXPECT_GT(packets, 0);
    EXPECT_LT(packets, 250);
    EXPECT_EQ(aviHeaderFrames(work.file("long.avi")), packets);
    EXPECT_EQ(lineStarting(result.out, "  frames:").rfind("  frames:      " + std::to_string(packets) + " ", 0), 0u)
        << result.out;
    EXPECT_NE(result.out.find("camera closed"), std::string::npos);
}

TEST(DemoRecording, DefaultJobSavesASnapshotAndARecordingInTheWorkingDirectory) {
    testsupport::TempDir work;
    // --seconds alone keeps the default job, only shorter.
    DemoResult result = runDemo({{"--seconds", "1"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("snapshot saved to " + work.file("snapshot.jpg")), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("recording saved to " + work.file("demo.avi")), std::string::npos) << result.out;
    ASSERT_TRUE(testsupport::fileExists(work.file("snapshot.jpg")));
    auto video = probeVideo(work.file("demo.avi"));
    EXPECT_EQ(video["codec_name"], "mjpeg");
    EXPECT_EQ(video["r_frame_rate"], "25/1");
    EXPECT_EQ(video["nb_read_packets"], "25");
    EXPECT_EQ(result.err, "");  // no wx assert or warning either
}

}  // namespace
}  // namespace demotest
