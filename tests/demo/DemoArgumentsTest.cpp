// The command line: help, and malformed arguments refused before the
// camera is touched.
#include "DemoProcess.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace demotest {
namespace {

TEST(DemoArguments, HelpExplainsEveryOptionAndSucceeds) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--help"}, work.path()});

    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Usage: nimbrel-demo"), std::string::npos);
    for (const char* option : {"--camera", "--exposure", "--gain", "--fps", "--aoi", "--optimize", "--snapshot",
                               "--record", "--seconds", "--max-size", "--replay", "--save-preset", "--reset-preset"})
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(testsupport::fileExists(work.file("demo.avi")));
}

class DemoBadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(DemoBadArguments, GiveAUsageErrorAndStatusTwo) {
    testsupport::TempDir work;
    DemoResult result = runDemo({GetParam(), work.path()});

    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err.rfind("nimbrel-demo: ", 0), 0u) << result.err;
    EXPECT_NE(result.err.find("--help"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
}

INSTANTIATE_TEST_SUITE_P(Refused, DemoBadArguments,
                         ::testing::Values(std::vector<std::string>{"--frobnicate"},
                                           std::vector<std::string>{"--exposure"},
                                           std::vector<std::string>{"--fps", "fast"},
                                           std::vector<std::string>{"--aoi", "640"},
                                           std::vector<std::string>{"--gain", "-3"},
                                           std::vector<std::string>{"--save-preset", "--reset-preset"},
                                           std::vector<std::string>{"--exposure", "5", "--seconds", "2"}));

TEST(DemoArguments, UnknownOptionIsNamed) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--frobnicate"}, work.path()});

    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("unknown option '--frobnicate'"), std::string::npos) << result.err;
}

TEST(DemoArguments, UnknownCameraIsAUsageError) {
    testsupport::TempDir work;
    DemoResult result = runDemo({{"--camera", "SIM9999-X", "--exposure", "5"}, work.path()});

    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("unknown camera 'SIM9999-X'"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("SIM2592-C"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace demotest
