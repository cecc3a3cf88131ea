#include "Qel/Qel.h"

#include <utility>

namespace Qel {

Exception::Exception(Strings::hstring message, Severity severity) : message_(std::move(message)), severity_(severity) {}

const char* Exception::what() const noexcept { return message_.c_str(); }

}  // namespace Qel
