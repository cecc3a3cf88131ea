#include "ChangeRate.h"

namespace viewer {

void ChangeRate::record(double seconds, bool changed) {
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

}  // namespace viewer
