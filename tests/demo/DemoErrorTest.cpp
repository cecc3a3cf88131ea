// Camera failures end the demo with one clear line and status 1.
#include "DemoProcess.h"
#include "TestSupport.h"
#include "VideoProbe.h"

#include <gtest/gtest.h>

namespace demotest {
namespace {

TEST(DemoErrors, NoCameraGivesOneErrorLineNamingTheFailedCall) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{}, work.path(), {{"UESIM_CAMERA", "none"}}});

    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(lines(result.err).size(), 1u) << result.err;
    EXPECT_EQ(result.err.rfind("nimbrel-demo: error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("is_InitCamera"), std::string::npos) << result.err;
    EXPECT_FALSE(testsupport::fileExists(work.file("snapshot.jpg")));
    EXPECT_FALSE(testsupport::fileExists(work.file("demo.avi")));
}

TEST(DemoErrors, FailureToCloseTheCameraIsReported) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--exposure", "10"}, work.path(), {{"UESIM_FAIL", "is_StopLiveVideo=3"}}});

    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(lines(result.err).size(), 1u) << result.err;
    EXPECT_EQ(result.err.rfind("nimbrel-demo: error: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("is_StopLiveVideo"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find('3'), std::string::npos) << result.err;
    // The settings were applied before the camera was closed.
    EXPECT_NE(result.out.find("exposure:    10 ms"), std::string::npos) << result.out;
}

TEST(DemoErrors, FailedFrameWriteEndsTheRunAndClosesTheFile) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--record", "broken.avi", "--seconds", "2"},
                                 work.path(),
                                 {{"UESIM_FAIL", "isavi_AddFrame@5=1"}}});

    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(lines(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find("isavi_AddFrame"), std::string::npos) << result.err;
    // The four frames written before the failure stay in a closed, playable file.
    auto video = probeVideo(work.file("broken.avi"));
    EXPECT_EQ(video["nb_read_packets"], "4");
    EXPECT_EQ(aviHeaderFrames(work.file("broken.avi")), 4);
}

}  // namespace
}  // namespace demotest
