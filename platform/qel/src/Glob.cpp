#include "Glob.h"

#include <cstddef>

namespace Qel::detail {

bool globMatch(const std::u32string& text, const std::u32string& pattern) {
    // Greedy scan remembering only the last '*': a later star makes retrying
    // earlier ones pointless, so there is no recursion and no blow-up.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starP = std::u32string::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (starP != std::u32string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') ++p;
    return p == pattern.size();
}

}  // namespace Qel::detail
