// Numbers as text that reads back exactly under any process locale.
#pragma once

#include <string>

namespace Qel::detail {

void appendInteger(std::string& out, long value);
// The shortest text that reads back to the same double, '.' as decimal point.
void appendDouble(std::string& out, double value);

}  // namespace Qel::detail
