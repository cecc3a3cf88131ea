// Narrowing of configuration values (long) to the SDK's 32-bit ints: values
// that do not fit are clamped rather than wrapped.
#pragma once

#include <climits>

namespace Nimbrel_model {

inline int clampToInt(long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace Nimbrel_model
