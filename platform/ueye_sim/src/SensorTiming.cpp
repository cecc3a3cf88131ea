#include "SensorTiming.h"

namespace ueye_sim::detail {

Blanking blankingOf(const CameraModel& model) {
    // Wider sensors need longer line overheads.
    if (model.maxWidth >= 4000) return {96, 16};
    if (model.maxWidth >= 2000) return {64, 16};
    return {48, 12};
}

double lineTime(const CameraModel& model, int width, int clockMHz) {
    const int clock = clockMHz > 0 ? clockMHz : 1;
    return (width + blankingOf(model).horizontal) / (clock * 1e6 * kPixelsPerClock);
}

double shortestFrameTime(const CameraModel& model, int width, int height, int clockMHz) {
    return (height + blankingOf(model).vertical) * lineTime(model, width, clockMHz);
}

double highestFrameRate(const CameraModel& model, int width, int height, int clockMHz) {
    return 1.0 / shortestFrameTime(model, width, height, clockMHz);
}

}  // namespace ueye_sim::detail
