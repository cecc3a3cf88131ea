// nimbrel-demo run as a child process: exit status, output lines, and the
// files it writes read back with ffprobe.
#include "TestSupport.h"
#include "Video.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

namespace testsupport {
namespace {

// "@" in an expected text stands for the working folder.
std::string inFolder(std::string text, const std::string& folder) {
    const auto at = text.find('@');
    return at == std::string::npos ? text : text.replace(at, 1, folder);
}

ProcessResult runDemo(const TempDir& work, std::vector<std::string> args, std::map<std::string, std::string> env = {}) {
    return runProcess({NIMBREL_DEMO_PATH, std::move(args), work.path(), std::move(env)});
}

// What ffprobe reads of a file the demo wrote, and its AVI header's frame count.
std::string fileLooks(const std::string& path) {
    const VideoInfo info = probeVideo(path);
    return info.codec + " " + std::to_string(info.width) + "x" + std::to_string(info.height) + " " +
           std::to_string(info.frames) + " header " + std::to_string(aviHeaderFrames(path));
}

struct DemoRun {
    std::vector<std::string> args;
    std::map<std::string, std::string> env;
    int status;
    std::vector<std::string> outHas;  // substrings of standard output
    std::string errStart;             // one line of standard error starting so; "" for none
    std::vector<std::string> errHas;
    std::string file;   // written in the working folder ...
    std::string looks;  // ... as fileLooks reads it
};

const char* const kUsage = "nimbrel-demo: ";
const std::string kStartGains = "\ngains:       master 0, red 12, green 0, blue 20, auto off";

// A size such as 640x480 is printed 640×480: test names hold no "0x".
void PrintTo(const DemoRun& run, std::ostream* out) {
    for (const auto& [name, value] : run.env) *out << name << "=" << value << " ";
    for (const std::string& arg : run.args) {
        const auto by = arg.find('x');
        const bool size = by != std::string::npos && by > 0 && std::isdigit(static_cast<unsigned char>(arg[by - 1]));
        *out << (size ? arg.substr(0, by) + "\u00d7" + arg.substr(by + 1) : arg) << " ";
    }
}

class DemoRuns : public ::testing::TestWithParam<DemoRun> {};

TEST_P(DemoRuns, StatusOutputAndFiles) {
    const DemoRun& run = GetParam();
    TempDir work;
    const ProcessResult result = runDemo(work, run.args, run.env);
    EXPECT_EQ(result.status, run.status) << result.err;
    for (const std::string& text : run.outHas)
        EXPECT_NE(result.out.find(inFolder(text, work.path())), std::string::npos) << text << "\n" << result.out;
    EXPECT_EQ(result.out.find('\r'), std::string::npos) << "progress must be plain lines without a terminal";
    if (run.errStart.empty()) {
        EXPECT_EQ(result.err, "");  // no wx assert or warning either
    } else {
        EXPECT_TRUE(run.status != 1 || lines(result.err).size() == 1u) << result.err;
        EXPECT_EQ(result.err.rfind(run.errStart, 0), 0u) << result.err;
    }
    for (const std::string& text : run.errHas) EXPECT_NE(result.err.find(text), std::string::npos) << result.err;
    EXPECT_TRUE(run.status != 2 || result.out.empty()) << result.out;
    EXPECT_EQ(run.file.empty() ? "" : fileLooks(work.file(run.file)), run.looks);
    // A refused or failed run, and help, leave no default snapshot or recording.
    const bool quiet = run.status != 0 || run.outHas == std::vector<std::string>{"Usage: nimbrel-demo"};
    for (const char* other : {"demo.avi", "snapshot.jpg"}) EXPECT_FALSE(quiet && fileExists(work.file(other))) << other;
}

std::vector<DemoRun> bad(std::vector<std::vector<std::string>> argumentLists) {
    std::vector<DemoRun> runs;
    for (auto& args : argumentLists) runs.push_back({std::move(args), {}, 2, {}, kUsage, {"--help"}, "", ""});
    return runs;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Refused, DemoRuns,
                         ::testing::ValuesIn(bad({{"--exposure"}, {"--fps", "fast"}, {"--aoi", "640"}, {"--gain", "-3"},
                                                  {"--save-preset", "--reset-preset"},
                                                  {"--exposure", "5", "--seconds", "2"}, {"--record", ""},
                                                  {"--record", "x.avi", "--record-fps", "1001"}})));
// clang-format on

// clang-format off
INSTANTIATE_TEST_SUITE_P(Runs, DemoRuns, ::testing::Values(
    DemoRun{{"--help"}, {}, 0, {"Usage: nimbrel-demo"}, "", {}, "", ""},
    DemoRun{{"--frobnicate"}, {}, 2, {}, kUsage, {"unknown option '--frobnicate'", "--help"}, "", ""},
    DemoRun{{"--camera", "SIM9999-X", "--exposure", "5"}, {}, 2, {}, kUsage, {"unknown camera 'SIM9999-X'", "SIM2592-C"}, "", ""},
    // Camera failures: one line naming the call, status 1.
    DemoRun{{}, {{"UESIM_CAMERA", "none"}}, 1, {}, "nimbrel-demo: error: ", {"is_InitCamera"}, "", ""},
    DemoRun{{"--exposure", "10"}, {{"UESIM_FAIL", "is_StopLiveVideo=3"}}, 1, {"exposure:    10 ms"},
            "nimbrel-demo: error: ", {"is_StopLiveVideo", "3"}, "", ""},
    // The frames written before a failed write stay in a closed, playable file.
    DemoRun{{"--record", "broken.avi", "--seconds", "2"}, {{"UESIM_FAIL", "isavi_AddFrame@5=1"}}, 1, {},
            "nimbrel-demo: error: the recording stopped: ", {"isavi_AddFrame", "broken.avi keeps 4 frames (0.16 s"},
            "broken.avi", "mjpeg 1280x1024 4 header 4"},
    DemoRun{{"--record", "short.avi", "--seconds", "1", "--fps", "25"}, {}, 0,
            {"recording ended at its length limit", "\n  frames:      25 (1 s at 25 fps holds 25 or 26: "}, "", {},
            "short.avi", "mjpeg 1280x1024 25 header 25"},
    // 1/8 s is exact in binary, so the countdown ends after 8 frames.
    DemoRun{{"--aoi", "640x480", "--record", "slow.avi", "--seconds", "1", "--fps", "8", "--replay", "4"}, {}, 0,
            {}, "", {}, "slow.avi", "mjpeg 640x480 8 header 8"},
    DemoRun{{"--record", "p.avi", "--seconds", "2", "--fps", "25"}, {}, 0, {"\nprogress: ", "/2 s recorded"}, "", {},
            "", ""},
    // --seconds alone keeps the default job, only shorter.
    DemoRun{{"--seconds", "1"}, {}, 0, {"snapshot saved to @snapshot.jpg", "recording saved to @demo.avi"}, "", {},
            "demo.avi", "mjpeg 1280x1024 25 header 25"},
    DemoRun{{"--exposure", "15.5"}, {{"UESIM_CAMERA", "SIM1280-C"}}, 0,
            {"camera:      SIM1280-C, 1280x1024 pixels, colour\n", kStartGains, "\narea:        1280x1024 at 0,0\n",
             "\nexposure:", "\nframe rate:", "simulator's reading", "camera closed"}, "", {}, "", ""},
    DemoRun{{"--aoi", "640x480", "--fps", "20", "--exposure", "10"}, {}, 0,
            {"applying --aoi 640x480\n  area:        640x480 at 320,272\n", "  frame rate:  20 fps\n",
             "  exposure:    10 ms\n"}, "", {}, "", ""},
    DemoRun{{"--gain", "7"}, {}, 0, {"\n  gains:       master 7, red 12, green 0, blue 20, auto off\n"}, "", {}, "", ""},
    DemoRun{{"--snapshot", "shot.jpg"}, {}, 0, {"snapshot saved to @shot.jpg"}, "", {}, "shot.jpg",
            "mjpeg 1280x1024 1 header -1"},
    DemoRun{{"--camera", "SIM1280-M", "--aoi", "320x240", "--snapshot", "mono.jpg"}, {}, 0, {"monochrome"}, "", {},
            "mono.jpg", "mjpeg 320x240 1 header -1"}));
// clang-format on

TEST(Demo, OptimizeRaisesTheFrameRateAndEndsOnAWorkerThread) {
    TempDir work;
    const ProcessResult result = runDemo(work, {"--camera", "SIM2592-C", "--optimize"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("optimizeEnd arrived on a worker thread"), std::string::npos) << result.out;
    auto rate = [](const std::string& line) {
        const auto colon = line.find(':');
        return colon == std::string::npos ? -1.0 : std::stod(line.substr(colon + 1));
    };
    const double before = rate(lineStarting(result.out, "frame rate:"));
    EXPECT_GT(before, 0.0) << result.out;
    EXPECT_GT(rate(lineStarting(result.out, "  frame rate:", "optimisation finished")), before) << result.out;
}

// --save-preset and --reset-preset write the settings of the folder --app-dir names.
TEST(Demo, SavedPresetOpensTheCameraAndResetBringsTheFactoryValuesBack) {
    TempDir app;
    std::filesystem::create_directories(app.file("res"));
    writeFile(app.file("res/config.xml"), shippedConfig());
    Launch launch{NIMBREL_DEMO_PATH, {"--app-dir", app.path(), "--gain", "9", "--save-preset"}, app.path(), {}};
    const ProcessResult saved = runProcess(launch);
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_NE(saved.out.find("saved the current settings as the user preset of SIM1280-C"), std::string::npos);
    EXPECT_NE(readFile(app.file("res/config.xml")).find("<UserMasterGain>9</UserMasterGain>"), std::string::npos);

    launch.args = {"--app-dir", app.path(), "--reset-preset"};
    const ProcessResult reset = runProcess(launch);
    ASSERT_EQ(reset.status, 0) << reset.err;
    // Opened with the preset, then reopened with the factory values.
    EXPECT_EQ(lineStarting(reset.out, "gains:"), "gains:       master 9, red 12, green 0, blue 20, auto off");
    EXPECT_EQ(lineStarting(reset.out, "gains:", "deleted the user preset"), kStartGains.substr(1));
    EXPECT_EQ(readFile(app.file("res/config.xml")).find("<UserMasterGain>"), std::string::npos);
}

}  // namespace
}  // namespace testsupport
