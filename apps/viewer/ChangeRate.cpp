#include "ChangeRate.h"

namespace viewer {

void ChangeRate::record(double seconds, bool changed) {
    if (first_ < 0.0) first_ = seconds;
    if (seconds - first_ >= kWarmUp) {
        if (warmStart_ < 0.0)
            warmStart_ = seconds;
        else if (changed)
            ++warmChanges_;
        latest_ = seconds;
    }
    if (windowStart_ < 0.0) {
        windowStart_ = seconds;
        changes_ = 0;
        return;
    }
    if (changed) ++changes_;
    const double elapsed = seconds - windowStart_;
    if (elapsed >= kWindow) {
        rate_ = changes_ / elapsed;
        windowStart_ = seconds;
        changes_ = 0;
    }
}

double ChangeRate::averageAfterWarmUp() const {
    return latest_ > warmStart_ ? static_cast<double>(warmChanges_) / (latest_ - warmStart_) : 0.0;
}

}  // namespace viewer
