#include "Qel/Qel.h"

namespace Qel {

Exception::Exception(const Strings::hstring& message, Severity severity)
    : message_(message), severity_(severity) {}

const char* Exception::what() const noexcept {
    return message_.c_str();
}

}  // namespace Qel
