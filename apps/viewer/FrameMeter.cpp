#include "FrameMeter.h"

namespace viewer {

namespace {

constexpr std::uint64_t kWindowNs = 1'000'000'000;

}  // namespace

void FrameMeter::add(std::uint64_t sequence, std::uint64_t deviceTimeNs) {
    // A stream started again numbers and times from afresh.
    if (!seen_.empty() && (sequence <= seen_.back().sequence || deviceTimeNs <= seen_.back().time)) seen_.clear();
    seen_.push_back({sequence, deviceTimeNs});
    while (seen_.size() > 2 && deviceTimeNs - seen_.front().time > kWindowNs) seen_.pop_front();
}

double FrameMeter::rate() const {
    if (seen_.size() < 2) return 0.0;
    // Frame numbers count the frames the viewer did not take too.
    const auto frames = static_cast<double>(seen_.back().sequence - seen_.front().sequence);
    const double seconds = static_cast<double>(seen_.back().time - seen_.front().time) * 1e-9;
    return frames / seconds;
}

}  // namespace viewer
