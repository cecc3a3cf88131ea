// Letter-case-insensitive comparison for hstring::ci_eq.
#pragma once

#include <string>

namespace Qel::detail {

// ASCII letters always fold; other letters ("É" and "é") fold through the
// C.UTF-8 character tables when the system has them, whatever the process
// locale is.
bool equalIgnoringCase(const std::string& left, const std::string& right);

}  // namespace Qel::detail
