// Writes one frame of the test pattern, as the camera's settings shape it,
// into an image memory.
#pragma once

#include "CameraSettings.h"

#include <cstdint>

namespace ueye_sim::detail {

struct FrameTarget {
    char* data;
    int width;  // pixels per line of the memory
    int height;
    int bitsPerPixel;
};

// Channel means of the written area, for the automatic controls.
struct FrameMeans {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// Lays the area of interest out from the memory's top-left corner with the
// memory's own line pitch, in the colour mode's format, clipped to the memory.
FrameMeans renderFrame(const CameraModel& model, const CameraSettings& settings, std::uint64_t frame,
                       const FrameTarget& target);

// Writes `number` as 8 little-endian bytes at the start of the area's first
// and last line, as laid out by renderFrame.
void stampFrameNumber(const CameraSettings& settings, std::uint64_t number, const FrameTarget& target);

}  // namespace ueye_sim::detail
