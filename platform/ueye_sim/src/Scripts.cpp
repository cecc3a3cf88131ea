#include "Scripts.h"

namespace ueye_sim::detail {

Scripts& Scripts::instance() {
    static Scripts scripts;
    return scripts;
}

void Scripts::setOptimalTiming(const OptimalTimingScript& script) {
    std::lock_guard lock(mutex_);
    optimalTiming_ = script;
}

void Scripts::setFrameTimeRange(const FrameTimeRangeScript& script) {
    std::lock_guard lock(mutex_);
    frameTimeRange_ = script;
}

void Scripts::setExposureReading(double milliseconds) {
    std::lock_guard lock(mutex_);
    exposureReading_ = milliseconds;
}

void Scripts::setFrameRateReading(double fps) {
    std::lock_guard lock(mutex_);
    frameRateReading_ = fps;
}

void Scripts::clear() {
    std::lock_guard lock(mutex_);
    optimalTiming_.reset();
    frameTimeRange_.reset();
    exposureReading_.reset();
    frameRateReading_.reset();
}

std::optional<OptimalTimingScript> Scripts::optimalTiming() const {
    std::lock_guard lock(mutex_);
    return optimalTiming_;
}

std::optional<FrameTimeRangeScript> Scripts::frameTimeRange() const {
    std::lock_guard lock(mutex_);
    return frameTimeRange_;
}

std::optional<double> Scripts::exposureReading() const {
    std::lock_guard lock(mutex_);
    return exposureReading_;
}

std::optional<double> Scripts::frameRateReading() const {
    std::lock_guard lock(mutex_);
    return frameRateReading_;
}

}  // namespace ueye_sim::detail
