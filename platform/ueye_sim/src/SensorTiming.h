// The sensor's read-out timing: how pixel clock and area of interest bound
// the frame rate, and how the frame rate bounds the exposure.
#pragma once

#include "ueye_sim/Control.h"

namespace ueye_sim::detail {

constexpr double kDefaultFrameRate = 25.0;  // fps, the camera's own default
constexpr double kLongestFrameTime = 2.0;   // seconds
constexpr double kLowestFrameRate = 1.0 / kLongestFrameTime;
constexpr double kShortestExposureMs = 0.01;
constexpr double kDefaultExposureMs = 10.0;

// The sensors read two pixels per clock (two read-out channels).
constexpr int kPixelsPerClock = 2;

// Pixels read per line beyond the area's width, and lines per frame beyond its height.
struct Blanking {
    int horizontal;
    int vertical;
};
Blanking blankingOf(const CameraModel& model);

// Seconds to read one line of `width` pixels at `clockMHz`.
double lineTime(const CameraModel& model, int width, int clockMHz);
// Seconds to read a `width` x `height` frame at `clockMHz`.
double shortestFrameTime(const CameraModel& model, int width, int height, int clockMHz);
double highestFrameRate(const CameraModel& model, int width, int height, int clockMHz);

}  // namespace ueye_sim::detail
