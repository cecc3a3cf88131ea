#include <gtest/gtest.h>

#include <string>

#include "Qel/Qel.h"

using Qel::Strings::hstring;

namespace {

struct GlobCase {
    const char* text;
    const char* pattern;
    bool matches;
};

const GlobCase kGlob[] = {
    {"UserMasterGain", "User*", true},
    {"User", "User*", true},
    {"AviUserLength", "AviUser*", true},
    {"MasterGain", "User*", false},
    {"AUser", "User*", false},
    {"UI-1240LE-M", "*-M", true},
    {"-M", "*-M", true},
    {"UI-1240LE-C", "*-M", false},
    {"UI-1240LE-M ", "*-M", false},
    {"M", "*-M", false},
    {"UserMasterGain", "UserMasterGain", true},
    {"UserMasterGainX", "UserMasterGain", false},
    {"XUserMasterGain", "UserMasterGain", false},
    {"usermastergain", "UserMasterGain", false},
    {"Gain1", "Gain?", true},
    {"Gain", "Gain?", false},
    {"Gain12", "Gain?", false},
    {"\xc3\xa9t\xc3\xa9", "?t?", true},  // ? is one letter, not one byte
    {"", "", true},
    {"", "*", true},
    {"", "***", true},
    {"", "?", false},
    {"a", "", false},
    {"abcbcd", "a*bcd", true},
    {"mississippi", "m*iss*ppi", true},
    {"a*b", "a*b", true},
    {"xaybzc", "*a*b*c", true},
    {"xaybz", "*a*b*c", false},
    {"*", "a", false},
    {"*", "?", true},
};

TEST(Glob, MatchesTheWholeTextWithStarAndQuestionMark) {
    for (const GlobCase& row : kGlob)
        EXPECT_EQ(hstring(row.text).glob(row.pattern), row.matches)
            << '"' << row.text << "\" ~ \"" << row.pattern << '"';
}

TEST(Glob, HostilePatternsFinish) {
    // A backtracking matcher takes exponential time here.
    const std::string text(20000, 'b');
    EXPECT_FALSE(hstring(text).glob("****a"));
    EXPECT_FALSE(hstring(text).glob("*b*b*b*b*b*b*b*b*b*b*a"));
    EXPECT_TRUE(hstring(text + "a").glob("*b*b*b*b*b*b*b*b*b*b*a"));
    EXPECT_TRUE(hstring(text).glob(std::string(5000, '*')));
}

}  // namespace
