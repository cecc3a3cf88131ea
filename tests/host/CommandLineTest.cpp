// The hosts' option table: what each kind of option takes and refuses, and the
// words of a refusal, which name the option.
#include "CommandLine.h"
#include "SharedOptions.h"

#include <gtest/gtest.h>

namespace testsupport {
namespace {

namespace shared = host::options;

const host::CommandLine& line() {
    static const host::CommandLine table = [] {
        host::CommandLine l("tool", "About the tool.\n", "The end.\n");
        l.section("Camera:").add(shared::camera).add(shared::fps).add(shared::gain);
        l.add(shared::savePreset).add(shared::resetPreset);
        l.section("Recording:").add(shared::record).add(shared::seconds).add(shared::replay).add(shared::maxSize);
        l.add(host::OptionSpec::text("only", "NAME", "repeatable", true));
        return l;
    }();
    return table;
}

// "help", "error: <what>", or each option given as "name=value,value;". The
// rules between options apply as a host applies them.
std::string parsed(const std::vector<std::string>& args) {
    try {
        const host::ParsedOptions options = line().parse(args);
        if (options.help) return "help";
        options.refuseTogether("save-preset", "reset-preset");
        shared::refuseRecordingOptionsWithout(options, options.has("record"));
        std::string text;
        for (const char* name :
             {"camera", "fps", "gain", "save-preset", "record", "seconds", "replay", "max-size", "only"}) {
            if (!options.has(name)) continue;
            text += std::string(name) + "=";
            for (const std::string& value : options.all(name)) text += value + ",";
            text.back() = ';';
        }
        return text;
    } catch (const host::UsageError& error) {
        return std::string("error: ") + error.what();
    }
}

struct Case {
    std::vector<std::string> args;
    std::string expected;
};

void PrintTo(const Case& row, std::ostream* out) {
    *out << "'";
    for (const auto& arg : row.args) *out << (&arg == &row.args.front() ? "" : " ") << arg;
    *out << "'";
}

class Parsing : public ::testing::TestWithParam<Case> {};

TEST_P(Parsing, TakesOrRefusesNamingTheOption) { EXPECT_EQ(parsed(GetParam().args), GetParam().expected); }

const std::string kRate = "error: --fps takes a number above 0 and up to 1000, not ";

INSTANTIATE_TEST_SUITE_P(
    Cases, Parsing,
    ::testing::Values(
        Case{{}, ""}, Case{{"--fps", "12.5", "--fps=1000", "--save-preset"}, "fps=12.5,1000;save-preset=;"},
        Case{{"--fps", "0"}, kRate + "'0'"}, Case{{"--fps", "1000.5"}, kRate + "'1000.5'"},
        Case{{"--fps", "-1"}, kRate + "'-1'"}, Case{{"--fps", "inf"}, kRate + "'inf'"},
        Case{{"--fps", "nan"}, kRate + "'nan'"}, Case{{"--fps", "12,5"}, kRate + "'12,5'"},
        Case{{"--fps", "0X10"}, kRate + "'0X10'"}, Case{{"--fps", "+5"}, kRate + "'+5'"},
        Case{{"--gain", "0", "--gain", "100"}, "gain=0,100;"},
        Case{{"--seconds", "0", "--replay", "1", "--max-size", "1048576", "--record", "x"},
             "record=x;seconds=0;replay=1;max-size=1048576;"},
        Case{{"--save-preset", "--reset-preset"}, "error: --save-preset and --reset-preset cannot be used together"},
        Case{{"--reset-preset", "--replay", "5"}, "error: --replay only applies to a recording: add --record FILE"},
        Case{{"--seconds", "5", "--max-size", "5"}, "error: --seconds only applies to a recording: add --record FILE"},
        Case{{"--max-size", "5"}, "error: --max-size only applies to a recording: add --record FILE"},
        Case{{"--seconds", "86400.5"}, "error: --seconds takes a number from 0 to 86400, not '86400.5'"},
        Case{{"--seconds", "-0.5"}, "error: --seconds takes a number from 0 to 86400, not '-0.5'"},
        Case{{"--replay", "1000", "--replay", "7", "--record", "x"}, "record=x;replay=1000,7;"},
        Case{{"--replay", "2.5"}, "error: --replay takes a whole number from 1 to 1000, not '2.5'"},
        Case{{"--replay", "1001"}, "error: --replay takes a whole number from 1 to 1000, not '1001'"},
        Case{{"--max-size", "0"}, "error: --max-size takes a number above 0 and up to 1048576, not '0'"},
        Case{{"--record", ""}, "error: --record needs a FILE, not an empty text"},
        Case{{"--camera="}, "error: --camera needs a NAME, not an empty text"},
        Case{{"--camera", "SIM1280-M", "--only", "a,b", "--only", "c"}, "camera=SIM1280-M;only=a,b,c;"},
        Case{{"--frobnicate"}, "error: unknown option '--frobnicate'"},
        Case{{"--record", "x.avi", "--frob=1"}, "error: unknown option '--frob=1'"},
        Case{{"-x"}, "error: unknown option '-x'"}, Case{{"stray"}, "error: unknown option 'stray'"},
        Case{{"--help", "--fps", "0"}, "help"}, Case{{"--fps", "0", "-h"}, "help"}));

TEST(CommandLine, HelpListsTheSectionsAndEveryOptionWithItsValue) {
    const std::string usage = line().usage();
    EXPECT_EQ(usage.rfind("About the tool.\n"), 0u) << usage;
    EXPECT_EQ(usage.substr(usage.size() - 9), "The end.\n") << usage;
    for (const char* text : {"\nCamera:\n", "\nRecording:\n", "--camera=<str>", "NAME: simulated camera",
                             "--seconds=<str>", "N: recording length", "--save-preset ", "-h, --help"})
        EXPECT_NE(usage.find(text), std::string::npos) << text << "\n" << usage;
    EXPECT_LT(usage.find("\n  --fps"), usage.find("\nRecording:\n"));
    EXPECT_GT(usage.find("\n  --max-size"), usage.find("\nRecording:\n"));
}

TEST(CommandLine, AUsageErrorIsOneLineThatPointsAtTheHelp) {
    EXPECT_EQ(line().usageLine("two\nlines"), "tool: two lines; see tool --help");
}

TEST(SharedOptions, TheReplayRateFollowsTheRecordingRate) {
    EXPECT_EQ(
        std::vector<long>({shared::defaultReplay(29.97), shared::defaultReplay(12.4), shared::defaultReplay(0.2)}),
        std::vector<long>({30, 12, 1}));
}

}  // namespace
}  // namespace testsupport
