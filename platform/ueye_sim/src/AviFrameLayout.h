// Where the recorded picture lies in the caller's frame buffer.
#pragma once

#include <cstddef>

namespace ueye_sim::detail {

struct AviFrameLayout {
    int width = 0;       // pixels recorded per line
    int height = 0;      // lines recorded
    int posX = 0;        // first recorded pixel in a line
    int posY = 0;        // first recorded line
    int lineOffset = 0;  // pixels in a buffer line beyond `width`

    static constexpr int bytesPerPixel = 3;  // B, G, R

    std::size_t pitch() const { return static_cast<std::size_t>(width + lineOffset) * bytesPerPixel; }
    std::size_t firstByte() const {
        return static_cast<std::size_t>(posY) * pitch() + static_cast<std::size_t>(posX) * bytesPerPixel;
    }
};

}  // namespace ueye_sim::detail
