// Cheap picture work for the display: fitting, and downscaling by sampling.
#pragma once

#include <cstddef>
#include <cstdint>

namespace viewer {

struct Extent {
    int width = 0;
    int height = 0;
};

// The largest size with the source's aspect ratio that fits in the box.
Extent fitInside(Extent source, Extent box);

// Copies `source` (RGB, or grey with `bytesPerPixel` 1; `pitchBytes` per line)
// into `target` (RGB, tightly packed, target.width x target.height) by
// nearest-pixel sampling, so its cost follows the target's size, not the
// sensor's.
void sampleInto(const std::uint8_t* source, std::size_t pitchBytes, Extent sourceSize, std::uint8_t* target,
                Extent targetSize, int bytesPerPixel = 3);

}  // namespace viewer
