#include <gtest/gtest.h>
#include <wx/string.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <locale>
#include <stdexcept>
#include <string>

#include "Qel/Qel.h"

using Qel::Strings::hstring;

namespace {

// Switches both the C and the C++ global locale to French for one test.
class FrenchLocale {
public:
    FrenchLocale() : savedC_(std::setlocale(LC_ALL, nullptr)) {
        if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) return;
        try {
            std::locale::global(std::locale("fr_FR.UTF-8"));
        } catch (const std::runtime_error&) {
            restore();
            return;
        }
        active_ = true;
    }
    FrenchLocale(const FrenchLocale&) = delete;
    FrenchLocale& operator=(const FrenchLocale&) = delete;
    ~FrenchLocale() { restore(); }

    bool active() const { return active_; }

private:
    void restore() {
        std::locale::global(savedCpp_);
        std::setlocale(LC_ALL, savedC_.c_str());
    }

    std::string savedC_;
    std::locale savedCpp_;
    bool active_ = false;
};

#define REQUIRE_FRENCH(locale) \
    if (!(locale).active()) GTEST_SKIP() << "the fr_FR.UTF-8 locale is not installed (run scripts/install-deps)"

std::string textOf(double value) {
    hstring text;
    text << value;
    return text.str();
}

// Bit-exact: tells -0.0 from 0.0.
void expectReadsBack(double value) {
    const std::string text = textOf(value);
    SCOPED_TRACE("text: " + text);
    EXPECT_EQ(text.find(','), std::string::npos);
    double back = 1234.5;
    ASSERT_TRUE(wxString(text).ToCDouble(&back));
    EXPECT_EQ(std::memcmp(&back, &value, sizeof value), 0) << back << " != " << value;
}

void expectReadsBack(long value) {
    hstring text;
    text << value;
    SCOPED_TRACE("text: " + text.str());
    long back = 7;
    ASSERT_TRUE(text.wxstr().ToCLong(&back, 10));
    EXPECT_EQ(back, value);
    long viaLocale = 7;
    ASSERT_TRUE(text.wxstr().ToLong(&viaLocale, 10));
    EXPECT_EQ(viaLocale, value);
}

const double kTrickyDoubles[] = {
    0.1,
    1e-300,
    12.5,
    -0.0,
    0.0,
    1e20,
    -2.5e-7,
    1.0 / 3.0,
    std::numeric_limits<double>::max(),
    std::numeric_limits<double>::lowest(),
    std::numeric_limits<double>::min(),  // smallest normal
    std::numeric_limits<double>::epsilon(),
};

struct Written {
    double value;
    const char* text;
};

const Written kWritten[] = {
    {12.5, "12.5"},
    {0.1, "0.1"},
    {-0.0, "-0"},
    {1e20, "1e+20"},
    {25.0, "25"},
    {-3.0, "-3"},
    {0.0, "0"},
    {std::numeric_limits<double>::infinity(), "inf"},
    {-std::numeric_limits<double>::infinity(), "-inf"},
};

TEST(NumberText, DoublesUseAPointUnderFrenchLocaleAndReadBackExactlyUnderEither) {
    for (const double value : kTrickyDoubles) expectReadsBack(value);
    FrenchLocale french;
    REQUIRE_FRENCH(french);
    double parsed = 0;
    ASSERT_FALSE(wxString("12.5").ToDouble(&parsed));  // the trap the writer avoids
    for (const Written& row : kWritten) EXPECT_EQ(textOf(row.value), row.text);
    EXPECT_FALSE(textOf(std::nan("")).empty());
    for (const double value : kTrickyDoubles) expectReadsBack(value);
}

TEST(NumberText, SubnormalsReadBackThroughWx) {
    // wx refuses any subnormal text that is not the exact value (the C library
    // flags underflow), so these are written out in full.
    FrenchLocale french;
    REQUIRE_FRENCH(french);
    const double smallest = std::numeric_limits<double>::denorm_min();
    EXPECT_EQ(textOf(smallest).rfind("4.94065645841246544", 0), 0u);
    EXPECT_EQ(textOf(smallest).substr(textOf(smallest).size() - 5), "e-324");
    const std::string half = textOf(std::numeric_limits<double>::min() / 2);
    EXPECT_NE(half.at(half.find('e') - 1), '0') << "trailing zeros are trimmed: " << half;
    for (const double value : {smallest, -smallest, 3.0 * smallest, std::numeric_limits<double>::min() / 2}) {
        expectReadsBack(value);
    }
}

TEST(NumberText, WholeNumbersReadBackUnderFrenchLocaleAndAppend) {
    FrenchLocale french;
    REQUIRE_FRENCH(french);
    for (const int value : {0, -1, 42, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        hstring text;
        text << value;
        EXPECT_EQ(text.str(), std::to_string(value));
        expectReadsBack(static_cast<long>(value));
    }
    expectReadsBack(std::numeric_limits<long>::min());
    expectReadsBack(std::numeric_limits<long>::max());
    hstring text("status ");
    text << -1 << hstring(", ") << 2.5 << hstring(" ") << 7L;
    EXPECT_EQ(text.str(), "status -1, 2.5 7");
}

}  // namespace
