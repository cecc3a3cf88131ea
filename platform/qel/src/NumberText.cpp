#include "NumberText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace Qel::detail {
namespace {

// Enough digits for the exact decimal value of any subnormal double.
constexpr int kExactSubnormalDigits = 766;

// Subnormals: the C library reports underflow for any decimal that is not
// their exact value, and wx's readers then refuse the text. The exact value
// (trailing zeros trimmed) is the shortest text those readers accept.
void appendExactSubnormal(std::string& out, double value) {
    std::array<char, kExactSubnormalDigits + 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, kExactSubnormalDigits);
    const std::string text(buffer.data(), result.ptr);
    const auto exponent = text.find('e');
    std::string mantissa = text.substr(0, exponent);
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
    out += mantissa;
    out.append(text, exponent, std::string::npos);
}

}  // namespace

void appendInteger(std::string& out, long value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

void appendDouble(std::string& out, double value) {
    if (std::fpclassify(value) == FP_SUBNORMAL) {
        appendExactSubnormal(out, value);
        return;
    }
    // to_chars ignores the locale and gives the shortest exact form; a whole
    // value comes out without a fraction ("25").
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

}  // namespace Qel::detail
