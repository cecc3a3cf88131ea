#include "TestPattern.h"

namespace ueye_sim {
namespace detail {
namespace {

// Rises 0..255 over the first half of the period and falls back over the second.
int triangle(int phase) {
    const int p = phase % kDiagonalPeriod;
    return p < 256 ? p : kDiagonalPeriod - 1 - p;
}

}  // namespace

Rgb diagonalColor(int phase) {
    return {static_cast<std::uint8_t>(triangle(phase)), static_cast<std::uint8_t>(triangle(phase + 170)),
            static_cast<std::uint8_t>(triangle(phase + 341))};
}

Rgb barColor(int x, int sensorWidth) {
    static constexpr Rgb bars[kBarCount] = {
        {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {0, 0, 0},
    };
    int index = sensorWidth > 0 ? static_cast<int>(static_cast<long long>(x) * kBarCount / sensorWidth) : 0;
    if (index < 0) index = 0;
    if (index >= kBarCount) index = kBarCount - 1;
    return bars[index];
}

}  // namespace detail

Rgb patternAt(const CameraModel& model, int x, int y, std::uint64_t frame) {
    using namespace detail;
    Rgb color{};
    if (inCounter(x, y)) {
        const std::uint8_t level = counterBitSet(x, frame) ? 255 : 0;
        return {level, level, level};
    }
    if (y < model.maxHeight / 2) {
        color = diagonalColor(diagonalPhase(x, y, frame));
    } else {
        color = barColor(x, model.maxWidth);
    }
    if (!model.color) {
        const std::uint8_t grey = luma(color.r, color.g, color.b);
        color = {grey, grey, grey};
    }
    return color;
}

}  // namespace ueye_sim
