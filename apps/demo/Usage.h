// The demo's help text.
#pragma once

#include <string>

namespace demo {

// The full help that --help prints.
std::string usageText();
// The one line that follows a usage error.
std::string usageHint();

}  // namespace demo
