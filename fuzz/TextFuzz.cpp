// The helper library's number and text conversions on any input: numbers
// written with operator<< read back exactly through wxString's C-locale
// readers; glob, ci_eq and replaceAll keep their basic laws.
#include <Qel/Qel.h>
#include <wx/string.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"

namespace {

using hstring = Qel::Strings::hstring;

void check(bool holds) {
    if (!holds) std::abort();
}

void numbers(fuzz::FuzzInput& in) {
    const auto asLong = in.number<long>();
    hstring longText;
    longText << asLong;
    long longBack = 0;
    check(longText.wxstr().ToCLong(&longBack) && longBack == asLong);

    const auto asInt = in.number<int>();
    hstring intText("x=");
    intText << asInt;
    long intBack = 0;
    check(wxString(intText.wxstr().Mid(2)).ToCLong(&intBack) && intBack == asInt);

    const auto asDouble = in.number<double>();
    hstring doubleText;
    doubleText << asDouble;
    if (std::isfinite(asDouble)) {
        double back = 0.0;
        check(doubleText.wxstr().ToCDouble(&back) && back == asDouble);
        check(doubleText.str().find(',') == std::string::npos);
    }
}

// Non-overlapping occurrences, counted from the left as replaceAll finds them.
std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
    return count;
}

void texts(fuzz::FuzzInput& in) {
    const std::string a = in.text(64), b = in.text(16), c = in.text(16), pattern = in.text(32);
    const hstring ha(a), hb(b);

    (void)ha.glob(pattern);
    check(ha.glob("*"));
    if (a.find_first_of("*?[\\") == std::string::npos) check(ha.glob(a));

    check(ha.ci_eq(ha));
    check(ha.ci_eq(hb) == hb.ci_eq(ha));

    hstring same(a);
    same.replaceAll(b, b);
    check(same == ha);
    hstring replaced(a);
    replaced.replaceAll(b, c);
    if (b.empty()) {
        check(replaced == ha);
    } else {
        const std::size_t n = occurrences(a, b);
        check(replaced.length() + n * b.size() == a.size() + n * c.size());
    }
    (void)replaced.wstr();
    (void)hstring(replaced.wxstr()).length();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    numbers(in);
    texts(in);
    return 0;
}
