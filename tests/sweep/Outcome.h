// How one run of an operation ended.
#pragma once

#include <functional>
#include <string>

namespace sweep {

struct Outcome {
    enum class Kind { Returned, QelException, OtherException };
    Kind kind = Kind::Returned;
    std::string message;
    int severity = 0;

    std::string describe() const;
};

Outcome runCapturing(const std::function<void()>& action);

// Message 63 for `function` and `status`, as the module reports a failed SDK call.
std::string sdkFailureText(const std::string& function, long status);

}  // namespace sweep
