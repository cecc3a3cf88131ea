// Results a test scripts for the timing queries, in place of the camera's own.
#pragma once

#include <mutex>
#include <optional>

namespace ueye_sim::detail {

struct OptimalTimingScript {
    int status;
    int pixelClock;
    double frameRate;
};

struct FrameTimeRangeScript {
    int status;
    double minSeconds;
    double maxSeconds;
    double stepSeconds;
};

class Scripts {
public:
    static Scripts& instance();

    void setOptimalTiming(const OptimalTimingScript& script);
    void setFrameTimeRange(const FrameTimeRangeScript& script);
    void setExposureReading(double milliseconds);
    void setFrameRateReading(double fps);
    void clear();

    std::optional<OptimalTimingScript> optimalTiming() const;
    std::optional<FrameTimeRangeScript> frameTimeRange() const;
    std::optional<double> exposureReading() const;
    std::optional<double> frameRateReading() const;

private:
    Scripts() = default;

    mutable std::mutex mutex_;
    std::optional<OptimalTimingScript> optimalTiming_;
    std::optional<FrameTimeRangeScript> frameTimeRange_;
    std::optional<double> exposureReading_;
    std::optional<double> frameRateReading_;
};

}  // namespace ueye_sim::detail
