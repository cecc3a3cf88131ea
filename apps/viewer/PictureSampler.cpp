#include "PictureSampler.h"

#include <algorithm>
#include <vector>

namespace viewer {

Extent fitInside(Extent source, Extent box) {
    if (source.width <= 0 || source.height <= 0 || box.width <= 0 || box.height <= 0) return {};
    // Compare the two ratios in integers to avoid rounding the smaller side twice.
    const long long wide = static_cast<long long>(box.width) * source.height;
    const long long tall = static_cast<long long>(box.height) * source.width;
    Extent fitted;
    if (wide <= tall) {
        fitted.width = box.width;
        fitted.height = static_cast<int>(static_cast<long long>(box.width) * source.height / source.width);
    } else {
        fitted.height = box.height;
        fitted.width = static_cast<int>(static_cast<long long>(box.height) * source.width / source.height);
    }
    fitted.width = std::max(fitted.width, 1);
    fitted.height = std::max(fitted.height, 1);
    return fitted;
}

void sampleInto(const std::uint8_t* source, std::size_t pitchBytes, Extent sourceSize, std::uint8_t* target,
                Extent targetSize, int bytesPerPixel) {
    if (!source || !target || sourceSize.width <= 0 || sourceSize.height <= 0) return;
    std::vector<std::size_t> columns(static_cast<std::size_t>(std::max(targetSize.width, 0)));
    for (int x = 0; x < targetSize.width; ++x) {
        // Sample the centre of each target pixel's footprint.
        const long long sx = (2LL * x + 1) * sourceSize.width / (2LL * targetSize.width);
        columns[static_cast<std::size_t>(x)] = static_cast<std::size_t>(sx) * static_cast<std::size_t>(bytesPerPixel);
    }
    for (int y = 0; y < targetSize.height; ++y) {
        const long long sy = (2LL * y + 1) * sourceSize.height / (2LL * targetSize.height);
        const std::uint8_t* line = source + static_cast<std::size_t>(sy) * pitchBytes;
        std::uint8_t* out = target + static_cast<std::size_t>(y) * targetSize.width * 3;
        if (bytesPerPixel == 1) {
            for (const std::size_t offset : columns) {
                out[0] = out[1] = out[2] = line[offset];
                out += 3;
            }
        } else {
            for (const std::size_t offset : columns) {
                *out++ = line[offset];
                *out++ = line[offset + 1];
                *out++ = line[offset + 2];
            }
        }
    }
}

}  // namespace viewer
