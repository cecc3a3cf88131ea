// The demo prints what the camera reports, at start and after each change.
#include "DemoProcess.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace demotest {
namespace {

// The number after `label` in `line`, e.g. the 25 of "frame rate:  25 fps".
double numberAfter(const std::string& line, const std::string& label) {
    auto at = line.find(label);
    if (at == std::string::npos) return -1.0;
    return std::stod(line.substr(at + label.size()));
}

TEST(DemoSettings, ReportsTheCameraAtStart) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--exposure", "15.5"}, work.path(), {{"UESIM_CAMERA", "SIM1280-C"}}});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lineStarting(result.out, "camera:"), "camera:      SIM1280-C, 1280x1024 pixels, colour");
    EXPECT_EQ(lineStarting(result.out, "gains:"), "gains:       master 0, red 12, green 0, blue 20, auto off");
    EXPECT_EQ(lineStarting(result.out, "area:"), "area:        1280x1024 at 0,0");
    EXPECT_NE(lineStarting(result.out, "exposure:"), "");
    EXPECT_NE(lineStarting(result.out, "frame rate:"), "");
    EXPECT_NE(lineStarting(result.out, "pixel clock:").find("simulator's reading"), std::string::npos);
    EXPECT_NE(result.out.find("camera closed"), std::string::npos);
}

TEST(DemoSettings, PrintsTheValuesTheCameraReportsAfterEachChange) {
    testsupport::TempDir work;
    DemoResult result =
        runDemo({{"--aoi", "640x480", "--fps", "20", "--exposure", "10"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lineStarting(result.out, "  area:", "applying --aoi 640x480"), "  area:        640x480 at 320,272");
    EXPECT_EQ(lineStarting(result.out, "  frame rate:", "applying --fps 20"), "  frame rate:  20 fps");
    EXPECT_EQ(lineStarting(result.out, "  exposure:", "applying --exposure 10"), "  exposure:    10 ms");
}

TEST(DemoSettings, GainChangesOnlyTheMasterGain) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--gain", "7"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lineStarting(result.out, "  gains:", "applying --gain 7"),
              "  gains:       master 7, red 12, green 0, blue 20, auto off");
}

TEST(DemoSettings, OptimizeRaisesTheFrameRateAndEndsOnAWorkerThread) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--camera", "SIM2592-C", "--optimize"}, work.path()});

    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("optimizeEnd arrived on a worker thread"), std::string::npos) << result.out;
    double before = numberAfter(lineStarting(result.out, "frame rate:"), "frame rate:");
    double after = numberAfter(lineStarting(result.out, "  frame rate:", "optimisation finished"), "frame rate:");
    EXPECT_GT(before, 0.0) << result.out;
    EXPECT_GT(after, before) << result.out;
    EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace demotest
