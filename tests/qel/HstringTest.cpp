#include <gtest/gtest.h>
#include <wx/string.h>

#include "Qel/Qel.h"

using Qel::Strings::hstring;

namespace {

TEST(Hstring, NarrowTextIsKeptAndWideTextBecomesUtf8) {
    EXPECT_EQ(hstring("Gain").str(), "Gain");
    EXPECT_EQ(hstring(std::string("a\0b", 3)).length(), 3u);
    EXPECT_TRUE(hstring(static_cast<const char*>(nullptr)).empty());
    EXPECT_EQ(hstring(L"caf\u00e9").str(), "caf\xc3\xa9");
    EXPECT_EQ(hstring(std::wstring(L"\u20ac")).str(), "\xe2\x82\xac");
    EXPECT_EQ(hstring(std::wstring(L"\U0001F600")).str(), "\xf0\x9f\x98\x80");
    EXPECT_EQ(hstring("\xf0\x9f\x98\x80").wstr(), L"\U0001F600");
    // A lone surrogate has no UTF-8 form: both ends of the range become U+FFFD.
    EXPECT_EQ(hstring(std::wstring(1, wchar_t(0xD800))).str(), "\xef\xbf\xbd");
    EXPECT_EQ(hstring(std::wstring(1, wchar_t(0xDFFF))).str(), "\xef\xbf\xbd");
    EXPECT_TRUE(hstring(static_cast<const wchar_t*>(nullptr)).empty());
}

TEST(Hstring, WxStringRoundTripsAndMalformedUtf8StillConverts) {
    const wxString wide = wxString::FromUTF8("R\xc3\xa9glages \xe2\x82\xac");
    const hstring text(wide);
    EXPECT_EQ(text.str(), "R\xc3\xa9glages \xe2\x82\xac");
    EXPECT_TRUE(text.wxstr() == wide);
    EXPECT_EQ(text.wstr(), L"R\u00e9glages \u20ac");
    // A lone continuation byte and a truncated sequence must not empty the text.
    const hstring broken(
        std::string("ab\x80"
                    "c\xe2\x82",
                    6));
    EXPECT_EQ(broken.wstr(), L"ab\ufffdc\ufffd\ufffd");
    EXPECT_EQ(broken.wxstr().length(), 6u);
    // Overlong forms are refused byte by byte, not read as the shorter character.
    EXPECT_EQ(hstring("\xc1\xbf"
                      "a\xe0\x80\xaf")
                  .wstr(),
              L"\ufffd\ufffda\ufffd\ufffd\ufffd");
}

TEST(Hstring, ConcatenationAndComparison) {
    const hstring left("res");
    EXPECT_EQ((left + hstring("\\config.xml")).str(), "res\\config.xml");
    EXPECT_EQ(("dir/" + left).str(), "dir/res");
    hstring grown("a");
    grown += hstring("b");
    grown << hstring("c");
    EXPECT_EQ(grown.str(), "abc");
    EXPECT_NE(hstring("a"), hstring("A"));
    EXPECT_LT(hstring("A"), hstring("a"));
}

struct ReplaceCase {
    const char *text, *what, *with, *result;
};

const ReplaceCase kReplace[] = {
    {"The call %s failed; %s again", "%s", "is_SetAOI", "The call is_SetAOI failed; is_SetAOI again"},
    {"abc", "", "x", "abc"},
    {"", "", "x", ""},
    {"a-a", "a", "aa", "aa-aa"},  // a replacement holding the pattern does not loop
    {"aaaa", "aa", "b", "bb"},
    {"aaa", "aa", "b", "ba"},  // left to right, no overlap
    {"x1x2x", "x", "", "12"},
};

TEST(Hstring, ReplaceAll) {
    for (const ReplaceCase& row : kReplace) {
        hstring text(row.text);
        EXPECT_EQ(&text.replaceAll(row.what, row.with), &text);
        EXPECT_EQ(text.str(), row.result) << row.text << " / " << row.what;
    }
}

struct CaseFold {
    const char *a, *b;
    bool equal;
};

const CaseFold kCiEq[] = {
    {"TRUE", "true", true},
    {"tRuE", "True", true},
    {"", "", true},
    {"true", "true ", false},
    {"true", "tru", false},
    {"[", "{", false},
    {"@", "`", false},
    {"1", "\x11", false},                              // the case bit, not letters
    {"\xc3\x89T\xc3\x89", "\xc3\xa9t\xc3\xa9", true},  // ÉTÉ / été
    {"\xc3\xa9", "e", false},
};

TEST(Hstring, CiEqFoldsTheCaseOfLettersOnly) {
    for (const CaseFold& row : kCiEq) EXPECT_EQ(hstring(row.a).ci_eq(row.b), row.equal) << row.a << " / " << row.b;
}

}  // namespace
