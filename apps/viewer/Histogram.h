// The distribution of pixel values in a sample of the live picture, and the
// share of values clipped at either end.
#pragma once

#include "PictureSampler.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace viewer {

struct Histogram {
    // Red, green, blue; a monochrome picture fills only the first.
    std::array<std::array<std::uint32_t, 256>, 3> counts{};
    int channels = 0;          // 3, or 1 for a monochrome picture; 0: no sample yet
    std::uint64_t values = 0;  // channel values counted
    double clippedLow = 0.0;   // share of them at 0
    double clippedHigh = 0.0;  // share of them at 255
};

// Counts about `maxPixels` pixels spread evenly over `area` (RGB when `color`,
// else grey of one byte a pixel; `pitchBytes` a line), so that its cost does
// not grow with the sensor.
Histogram sampleHistogram(const std::uint8_t* source, std::size_t pitchBytes, Extent area, bool color, int maxPixels);

}  // namespace viewer
