// The frames of a recorded Motion-JPEG AVI file, decoded one at a time with
// libjpeg-turbo, and where each frame ends in the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace check {

// A decoded frame: RGB, 3 bytes a pixel, lines of `width` pixels.
struct DecodedFrame {
    const unsigned char* pixels;
    int width;
    int height;
    int index;  // from 0, in file order
};

// Decodes every video frame of `path` in file order and hands each to
// `visit`, which must not keep the pixels. Returns the number of frames.
// CheckFailure naming the frame when one cannot be decoded.
int decodeAviFrames(const std::string& path, const std::function<void(const DecodedFrame&)>& visit);

// The file offset just past each video frame's chunk, in file order: how
// big the file had grown when each frame was written.
std::vector<std::uint64_t> aviFrameEnds(const std::string& path);

}  // namespace check
