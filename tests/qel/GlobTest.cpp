#include <gtest/gtest.h>

#include <string>

#include "Qel/Qel.h"

using Qel::Strings::hstring;

namespace {

bool matches(const std::string& text, const std::string& pattern) {
    return hstring(text).glob(pattern);
}

TEST(Glob, StarMatchesAnyRunIncludingNone) {
    EXPECT_TRUE(matches("UserMasterGain", "User*"));
    EXPECT_TRUE(matches("User", "User*"));
    EXPECT_TRUE(matches("AviUserLength", "AviUser*"));
    EXPECT_FALSE(matches("MasterGain", "User*"));
    EXPECT_FALSE(matches("AUser", "User*"));
}

TEST(Glob, SuffixPatterns) {
    EXPECT_TRUE(matches("UI-1240LE-M", "*-M"));
    EXPECT_TRUE(matches("-M", "*-M"));
    EXPECT_FALSE(matches("UI-1240LE-C", "*-M"));
    EXPECT_FALSE(matches("UI-1240LE-M ", "*-M"));
    EXPECT_FALSE(matches("M", "*-M"));
}

TEST(Glob, MatchesTheWholeText) {
    EXPECT_TRUE(matches("UserMasterGain", "UserMasterGain"));
    EXPECT_FALSE(matches("UserMasterGainX", "UserMasterGain"));
    EXPECT_FALSE(matches("XUserMasterGain", "UserMasterGain"));
    EXPECT_FALSE(matches("usermastergain", "UserMasterGain"));
}

TEST(Glob, QuestionMarkIsExactlyOneCharacter) {
    EXPECT_TRUE(matches("Gain1", "Gain?"));
    EXPECT_FALSE(matches("Gain", "Gain?"));
    EXPECT_FALSE(matches("Gain12", "Gain?"));
    EXPECT_TRUE(matches("\xc3\xa9t\xc3\xa9", "?t?"));  // one accented letter, two bytes
}

TEST(Glob, EmptyTextAndPattern) {
    EXPECT_TRUE(matches("", ""));
    EXPECT_TRUE(matches("", "*"));
    EXPECT_TRUE(matches("", "***"));
    EXPECT_FALSE(matches("", "?"));
    EXPECT_FALSE(matches("a", ""));
}

TEST(Glob, NeedsBacktrackingAcrossStars) {
    EXPECT_TRUE(matches("abcbcd", "a*bcd"));
    EXPECT_TRUE(matches("mississippi", "m*iss*ppi"));
    EXPECT_TRUE(matches("a*b", "a*b"));
    EXPECT_TRUE(matches("xaybzc", "*a*b*c"));
    EXPECT_FALSE(matches("xaybz", "*a*b*c"));
}

TEST(Glob, StarInTheTextIsAPlainCharacter) {
    EXPECT_FALSE(matches("*", "a"));
    EXPECT_TRUE(matches("*", "?"));
}

TEST(Glob, HostilePatternsFinish) {
    // A backtracking matcher takes exponential time here.
    const std::string text(20000, 'b');
    EXPECT_FALSE(matches(text, "****a"));
    EXPECT_FALSE(matches(text, "*b*b*b*b*b*b*b*b*b*b*a"));
    EXPECT_TRUE(matches(text + "a", "*b*b*b*b*b*b*b*b*b*b*a"));
    EXPECT_TRUE(matches(text, std::string(5000, '*')));
}

}  // namespace
