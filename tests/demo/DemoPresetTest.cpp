// --save-preset and --reset-preset write the configuration beside the
// executable, so this test runs a copy of the demo in a folder of its own.
#include "DemoProcess.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace demotest {
namespace {

namespace fs = std::filesystem;

TEST(DemoPreset, SavedPresetOpensTheCameraAndResetBringsTheFactoryValuesBack) {
    testsupport::TempDir app;
    testsupport::TempDir work;
    fs::create_directories(app.file("res"));
    fs::copy_file(NIMBREL_DEMO_PATH, app.file("nimbrel-demo"));
    testsupport::writeFile(app.file("res/config.xml"), testsupport::shippedConfig());
    DemoLaunch launch{{}, work.path(), {{"UESIM_CAMERA", "SIM1280-C"}}, app.file("nimbrel-demo")};

    launch.args = {"--gain", "9", "--save-preset"};
    DemoResult saved = runDemo(launch);
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_NE(saved.out.find("saved the current settings as the user preset of SIM1280-C"), std::string::npos);
    EXPECT_NE(testsupport::readFile(app.file("res/config.xml")).find("<UserMasterGain>9</UserMasterGain>"),
              std::string::npos);

    launch.args = {"--reset-preset"};
    DemoResult reset = runDemo(launch);
    ASSERT_EQ(reset.status, 0) << reset.err;
    // Opened with the preset, then reopened with the factory values.
    EXPECT_EQ(lineStarting(reset.out, "gains:"), "gains:       master 9, red 12, green 0, blue 20, auto off");
    EXPECT_EQ(lineStarting(reset.out, "gains:", "deleted the user preset"),
              "gains:       master 0, red 12, green 0, blue 20, auto off");
    EXPECT_EQ(testsupport::readFile(app.file("res/config.xml")).find("<UserMasterGain>"), std::string::npos);
}

}  // namespace
}  // namespace demotest
