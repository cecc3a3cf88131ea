#include "CaseFold.h"

#include <locale.h>
#include <wctype.h>

#include <cstddef>

#include "Utf8.h"

namespace Qel::detail {
namespace {

char32_t asciiLower(char32_t c) {
    return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
}

// Created once and never freed: a fixed table that lives as long as the process.
locale_t unicodeTables() {
    static const locale_t tables = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return tables;
}

char32_t fold(char32_t c) {
    if (c < 0x80) return asciiLower(c);
    const locale_t tables = unicodeTables();
    if (tables == static_cast<locale_t>(0) || c > 0x10FFFF) return c;
    return static_cast<char32_t>(::towlower_l(static_cast<wint_t>(c), tables));
}

}  // namespace

bool equalIgnoringCase(const std::string& left, const std::string& right) {
    const std::u32string a = utf8ToCodePoints(left);
    const std::u32string b = utf8ToCodePoints(right);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

}  // namespace Qel::detail
