// The recording timer's period, from the recording frame rate.
#pragma once

namespace Nimbrel_model {

// Milliseconds, truncated toward zero. A rate of 0 or less never reaches the
// division (callers replace it by the camera's rate first); it gives 1000.
inline int recordIntervalMs(double frameRate) {
    if (!(frameRate > 0.0)) return 1000;
    const double ms = (1.0 / frameRate) * 1000.0;
    return ms >= 2147483647.0 ? 2147483647 : static_cast<int>(ms);
}

}  // namespace Nimbrel_model
