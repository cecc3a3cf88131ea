#include <gtest/gtest.h>
#include <wx/string.h>

#include "Qel/Qel.h"

using Qel::Strings::hstring;

namespace {

TEST(HstringConstruction, NarrowTextIsKeptAsIs) {
    EXPECT_EQ(hstring("Gain").str(), "Gain");
    EXPECT_EQ(hstring(std::string("a\0b", 3)).length(), 3u);
    EXPECT_TRUE(hstring().empty());
    EXPECT_TRUE(hstring(static_cast<const char*>(nullptr)).empty());
}

TEST(HstringConstruction, WideTextBecomesUtf8) {
    EXPECT_EQ(hstring(L"caf\u00e9").str(), "caf\xc3\xa9");
    EXPECT_EQ(hstring(std::wstring(L"\u20ac")).str(), "\xe2\x82\xac");
    EXPECT_EQ(hstring(std::wstring(L"\U0001F600")).str(), "\xf0\x9f\x98\x80");
    EXPECT_TRUE(hstring(static_cast<const wchar_t*>(nullptr)).empty());
}

TEST(HstringConstruction, WxStringRoundTrips) {
    const wxString wide = wxString::FromUTF8("R\xc3\xa9glages \xe2\x82\xac");
    const hstring text(wide);
    EXPECT_EQ(text.str(), "R\xc3\xa9glages \xe2\x82\xac");
    EXPECT_TRUE(text.wxstr() == wide);
    EXPECT_EQ(text.wstr(), L"R\u00e9glages \u20ac");
}

TEST(HstringConstruction, MalformedUtf8StillConvertsToWide) {
    // A lone continuation byte and a truncated sequence must not empty the text.
    const hstring broken(std::string("ab\x80" "c\xe2\x82", 6));
    EXPECT_EQ(broken.wstr(), L"ab\ufffdc\ufffd\ufffd");
    EXPECT_EQ(broken.wxstr().length(), 6u);
}

TEST(HstringConcatenation, AllFormsJoinText) {
    const hstring left("res");
    EXPECT_EQ((left + hstring("\\config.xml")).str(), "res\\config.xml");
    EXPECT_EQ(("dir/" + left).str(), "dir/res");
    hstring grown("a");
    grown += hstring("b");
    grown << hstring("c");
    EXPECT_EQ(grown.str(), "abc");
}

TEST(HstringReplaceAll, ReplacesEveryOccurrence) {
    hstring text("The call %s failed; %s again");
    text.replaceAll("%s", "is_SetAOI");
    EXPECT_EQ(text.str(), "The call is_SetAOI failed; is_SetAOI again");
}

TEST(HstringReplaceAll, EmptyWhatChangesNothing) {
    hstring text("abc");
    text.replaceAll("", "x");
    EXPECT_EQ(text.str(), "abc");
    hstring empty;
    empty.replaceAll("", "x");
    EXPECT_TRUE(empty.empty());
}

TEST(HstringReplaceAll, ReplacementContainingWhatDoesNotLoop) {
    hstring text("a-a");
    text.replaceAll("a", "aa");
    EXPECT_EQ(text.str(), "aa-aa");
}

TEST(HstringReplaceAll, ScansLeftToRightWithoutOverlap) {
    hstring text("aaaa");
    text.replaceAll("aa", "b");
    EXPECT_EQ(text.str(), "bb");
    hstring odd("aaa");
    odd.replaceAll("aa", "b");
    EXPECT_EQ(odd.str(), "ba");
}

TEST(HstringReplaceAll, CanDeleteAndReturnsItself) {
    hstring text("x1x2x");
    EXPECT_EQ(&text.replaceAll("x", ""), &text);
    EXPECT_EQ(text.str(), "12");
}

TEST(HstringCiEq, IgnoresAsciiLetterCase) {
    EXPECT_TRUE(hstring("TRUE").ci_eq("true"));
    EXPECT_TRUE(hstring("tRuE").ci_eq("True"));
    EXPECT_TRUE(hstring("").ci_eq(""));
    EXPECT_FALSE(hstring("true").ci_eq("true "));
    EXPECT_FALSE(hstring("true").ci_eq("tru"));
}

TEST(HstringCiEq, FoldsLettersOnly) {
    // These pairs differ by the case bit but are not letters.
    EXPECT_FALSE(hstring("[").ci_eq("{"));
    EXPECT_FALSE(hstring("@").ci_eq("`"));
    EXPECT_FALSE(hstring("1").ci_eq("\x11"));
}

TEST(HstringCiEq, FoldsAccentedLetters) {
    EXPECT_TRUE(hstring("\xc3\x89T\xc3\x89").ci_eq("\xc3\xa9t\xc3\xa9"));  // ÉTÉ / été
    EXPECT_FALSE(hstring("\xc3\xa9").ci_eq("e"));
}

TEST(HstringComparison, ComparesBytes) {
    EXPECT_EQ(hstring("a"), hstring("a"));
    EXPECT_NE(hstring("a"), hstring("A"));
    EXPECT_LT(hstring("A"), hstring("a"));
}

}  // namespace
