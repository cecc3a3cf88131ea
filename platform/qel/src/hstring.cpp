#include "Qel/Qel.h"

#include <wx/string.h>

#include <utility>

#include "CaseFold.h"
#include "Glob.h"
#include "NumberText.h"
#include "Utf8.h"

namespace Qel::Strings {

hstring::hstring(const char* text) : text_(text != nullptr ? text : "") {}

hstring::hstring(std::string text) : text_(std::move(text)) {}

hstring::hstring(const wchar_t* text) : text_(text != nullptr ? detail::wideToUtf8(text) : std::string()) {}

hstring::hstring(const std::wstring& text) : text_(detail::wideToUtf8(text)) {}

hstring::hstring(const wxString& text) : text_(detail::wideToUtf8(text.ToStdWstring())) {}

hstring& hstring::replaceAll(const hstring& what, const hstring& with) {
    if (what.text_.empty()) return *this;
    std::string result;
    result.reserve(text_.size());
    std::size_t from = 0;
    for (std::size_t hit = text_.find(what.text_); hit != std::string::npos; hit = text_.find(what.text_, from)) {
        result.append(text_, from, hit - from);
        result += with.text_;
        from = hit + what.text_.size();
    }
    result.append(text_, from, std::string::npos);
    text_ = std::move(result);
    return *this;
}

hstring hstring::operator+(const hstring& other) const { return {text_ + other.text_}; }

hstring& hstring::operator+=(const hstring& other) {
    text_ += other.text_;
    return *this;
}

hstring& hstring::operator<<(int value) {
    detail::appendInteger(text_, value);
    return *this;
}

hstring& hstring::operator<<(long value) {
    detail::appendInteger(text_, value);
    return *this;
}

hstring& hstring::operator<<(double value) {
    detail::appendDouble(text_, value);
    return *this;
}

hstring& hstring::operator<<(const hstring& text) {
    text_ += text.text_;
    return *this;
}

bool hstring::glob(const hstring& pattern) const {
    return detail::globMatch(detail::utf8ToCodePoints(text_), detail::utf8ToCodePoints(pattern.text_));
}

bool hstring::ci_eq(const hstring& other) const { return detail::equalIgnoringCase(text_, other.text_); }

wxString hstring::wxstr() const { return {detail::utf8ToWide(text_)}; }

std::wstring hstring::wstr() const { return detail::utf8ToWide(text_); }

hstring operator+(const char* left, const hstring& right) { return hstring(left) + right; }

}  // namespace Qel::Strings
