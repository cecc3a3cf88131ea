#include "CaseFold.h"

// newlocale, locale_t and towlower_l are POSIX: only the C headers declare them.
#include <locale.h>  // NOLINT(modernize-deprecated-headers)
#include <wctype.h>  // NOLINT(modernize-deprecated-headers)

#include <cstddef>

#include "Utf8.h"

namespace Qel::detail {
namespace {

char32_t asciiLower(char32_t c) { return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c; }

// POSIX's "no locale": locale_t is an opaque type, not always a pointer.
const locale_t kNoLocale = static_cast<locale_t>(0);  // NOLINT(modernize-use-nullptr)

// Created once and never freed: a fixed table that lives as long as the process.
locale_t unicodeTables() {
    static const locale_t tables = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", kNoLocale);
    return tables;
}

char32_t fold(char32_t c) {
    if (c < 0x80) return asciiLower(c);
    const locale_t tables = unicodeTables();
    if (tables == kNoLocale || c > 0x10FFFF) return c;
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
