// Pieces of the test pattern, shared by patternAt and the frame renderer so the
// two cannot disagree.
#pragma once

#include "ueye_sim/Control.h"

#include <cstdint>

namespace ueye_sim::detail {

constexpr int kDiagonalPeriod = 512;  // pixels along the diagonal gradient
constexpr int kScrollPerFrame = 4;    // pixels the gradient moves per frame
constexpr int kCounterBits = 32;
constexpr int kCounterBlock = 16;  // side of one counter bit's square
constexpr int kBarCount = 8;

// Where (x, y) of the sensor lies in the gradient's period in `frame`.
inline int diagonalPhase(int x, int y, std::uint64_t frame) {
    const std::uint64_t shift = (frame % kDiagonalPeriod) * kScrollPerFrame;
    return static_cast<int>((static_cast<std::uint64_t>(x) + static_cast<std::uint64_t>(y) + shift) % kDiagonalPeriod);
}

// Colour of the gradient at a phase in [0, kDiagonalPeriod).
Rgb diagonalColor(int phase);
// Colour of the bar under column x: red, green, blue, white, yellow, cyan, magenta, black.
Rgb barColor(int x, int sensorWidth);
// Grey of a colour, as a monochrome sensor sees it.
inline std::uint8_t luma(int r, int g, int b) {
    return static_cast<std::uint8_t>((77 * r + 150 * g + 29 * b + 128) >> 8);
}
// Whether the counter bit drawn at image column x is set in `frame` (most significant bit left).
inline bool counterBitSet(int x, std::uint64_t frame) {
    const int bit = kCounterBits - 1 - x / kCounterBlock;
    return ((frame >> bit) & 1U) != 0;
}
inline bool inCounter(int x, int y) {
    return x >= 0 && y >= 0 && y < kCounterBlock && x < kCounterBits * kCounterBlock;
}

}  // namespace ueye_sim::detail
