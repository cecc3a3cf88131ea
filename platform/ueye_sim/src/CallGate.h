// Every SDK function of the simulator passes through a CallGate: it counts the
// call, applies an injected failure or scripted result, and writes the call
// log and the UESIM_TRACE line when the call returns.
//
//   INT is_SetGamma(HIDS h, INT gamma) {
//       CallGate call("is_SetGamma");
//       call.arg(h).arg(gamma);
//       if (auto forced = call.forced()) return call.done(*forced);
//       ... the real work ...
//       return call.done(status);
//   }
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace ueye_sim::detail {

class CallGate {
public:
    explicit CallGate(const char* function);
    CallGate(const CallGate&) = delete;
    CallGate& operator=(const CallGate&) = delete;

    // Arguments, in order, as the trace shows them.
    CallGate& arg(long long value);          // decimal
    CallGate& arg(unsigned int value);       // decimal
    CallGate& arg(int value);                // decimal
    CallGate& arg(long value);               // decimal
    CallGate& arg(double value);             // decimal, shortest round-trip text
    CallGate& in(const int* value);          // the value pointed to, or null
    CallGate& in(const double* value);       // the value pointed to, or null
    CallGate& out(const void* pointer);      // "out", or "null" for a null pointer
    CallGate& text(const char* value);       // "value" in double quotes, or null
    CallGate& pointer(const void* pointer);  // "ptr" for a buffer passed in, or "null"

    // The status or result forced on this call by failCall/scriptQuery or
    // UESIM_FAIL, if any. The first argument after the handle or AVI id is the
    // second arg() given (or the first for functions without a handle).
    std::optional<long long> forced();

    // Logs the call with its result and returns the result.
    int done(long long result);

private:
    void append(const std::string& text, std::optional<long long> numeric);

    std::string function_;
    std::string arguments_;
    int count_ = 0;
    std::size_t position_ = 0;
    std::optional<long long> firstArg_;
    bool forcedChecked_ = false;
    std::optional<long long> forced_;
};

}  // namespace ueye_sim::detail
