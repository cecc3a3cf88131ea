#include "Histogram.h"

#include <algorithm>
#include <cmath>

namespace viewer {

Histogram sampleHistogram(const std::uint8_t* source, std::size_t pitchBytes, Extent area, bool color, int maxPixels) {
    Histogram histogram;
    if (!source || area.width <= 0 || area.height <= 0 || maxPixels <= 0) return histogram;
    histogram.channels = color ? 3 : 1;
    const double pixels = static_cast<double>(area.width) * area.height;
    const int step = std::max(1, static_cast<int>(std::ceil(std::sqrt(pixels / maxPixels))));
    // Each sampled line starts one column further on, so that a regular grid
    // does not miss whole classes of values in regular patterns.
    for (int y = step / 2, row = 0; y < area.height; y += step, ++row) {
        const std::uint8_t* line = source + static_cast<std::size_t>(y) * pitchBytes;
        for (int x = row % step; x < area.width; x += step) {
            const std::uint8_t* pixel =
                line + static_cast<std::size_t>(x) * static_cast<std::size_t>(histogram.channels);
            for (int c = 0; c < histogram.channels; ++c) ++histogram.counts[c][pixel[c]];
        }
    }
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    for (int c = 0; c < histogram.channels; ++c) {
        for (std::uint32_t count : histogram.counts[c]) histogram.values += count;
        low += histogram.counts[c][0];
        high += histogram.counts[c][255];
    }
    if (histogram.values > 0) {
        histogram.clippedLow = static_cast<double>(low) / static_cast<double>(histogram.values);
        histogram.clippedHigh = static_cast<double>(high) / static_cast<double>(histogram.values);
    }
    return histogram;
}

}  // namespace viewer
