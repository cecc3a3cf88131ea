// The module's two ways of failing: a camera SDK call that returned a nonzero
// status (message 63), and a configuration value that is missing or
// unreadable (message 64). Both throw Qel::Exception with severity 10.
#pragma once

namespace Nimbrel_model {

[[noreturn]] void throwSdkFailure(const char* function, long status);
[[noreturn]] void throwConfigMissing();

// Throws the SDK failure for `function` when `status` is nonzero.
inline void checkSdk(long status, const char* function) {
    if (status != 0) throwSdkFailure(function, status);
}

}  // namespace Nimbrel_model
