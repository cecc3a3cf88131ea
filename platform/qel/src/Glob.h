// Wildcard matching for hstring::glob.
#pragma once

#include <string>

namespace Qel::detail {

// Whole-text match: '*' any run (also empty), '?' exactly one code point.
// Runs in O(text * pattern) at worst; hostile patterns cannot blow it up.
bool globMatch(const std::u32string& text, const std::u32string& pattern);

}  // namespace Qel::detail
