#include "CallGate.h"

#include "CallRegistry.h"

#include <array>
#include <charconv>
#include <cmath>
#include <thread>

namespace ueye_sim::detail {
namespace {

// Shortest text that reads back as the same double, never in exponent form.
std::string decimal(double value) {
    if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    return {buffer.data(), result.ptr};
}

// Functions whose first argument is not a camera handle or AVI id.
bool takesHandleFirst(const std::string& function) {
    return function != "is_InitCamera" && function != "isavi_InitAVI" && function != "is_ListConnectedCameras";
}

}  // namespace

CallGate::CallGate(const char* function) : function_(function), count_(CallRegistry::instance().countCall(function_)) {}

void CallGate::append(const std::string& text, std::optional<long long> numeric) {
    const std::size_t queryPosition = takesHandleFirst(function_) ? 1 : 0;
    if (position_ == queryPosition) firstArg_ = numeric;
    if (position_ > 0) arguments_ += ", ";
    arguments_ += text;
    ++position_;
}

CallGate& CallGate::arg(long long value) {
    append(std::to_string(value), value);
    return *this;
}
CallGate& CallGate::arg(unsigned int value) { return arg(static_cast<long long>(value)); }
CallGate& CallGate::arg(int value) { return arg(static_cast<long long>(value)); }
CallGate& CallGate::arg(long value) { return arg(static_cast<long long>(value)); }

CallGate& CallGate::arg(double value) {
    std::optional<long long> numeric;
    // An integral double (the 32768.0 query codes) can be matched by a scripted query.
    if (std::isfinite(value) && std::fabs(value) < 1e15 && std::trunc(value) == value)
        numeric = static_cast<long long>(value);
    append(decimal(value), numeric);
    return *this;
}

CallGate& CallGate::in(const int* value) {
    if (!value) {
        append("null", std::nullopt);
        return *this;
    }
    return arg(*value);
}

CallGate& CallGate::in(const double* value) {
    if (!value) {
        append("null", std::nullopt);
        return *this;
    }
    return arg(*value);
}

CallGate& CallGate::out(const void* pointer) {
    append(pointer ? "out" : "null", std::nullopt);
    return *this;
}

CallGate& CallGate::text(const char* value) {
    append(value ? '"' + std::string(value) + '"' : std::string("null"), std::nullopt);
    return *this;
}

CallGate& CallGate::pointer(const void* pointer) {
    append(pointer ? "ptr" : "null", std::nullopt);
    return *this;
}

std::optional<long long> CallGate::forced() {
    if (!forcedChecked_) {
        forcedChecked_ = true;
        forced_ = CallRegistry::instance().forcedResult(function_, count_, firstArg_);
    }
    return forced_;
}

int CallGate::done(long long result) {
    const auto delay = CallRegistry::instance().delayOf(function_);
    if (delay.count() > 0) std::this_thread::sleep_for(delay);
    CallRegistry::instance().record({function_, arguments_, result});
    return static_cast<int>(result);
}

}  // namespace ueye_sim::detail
