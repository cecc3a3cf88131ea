// JPEG encoder for AVI frames: one TurboJPEG handle and one output buffer
// sized once for the frame, so encoding a frame never allocates.
#pragma once

#include <cstddef>
#include <memory>

namespace ueye_sim::detail {

// A B,G,R picture inside a larger buffer.
struct AviBgrView {
    const unsigned char* first;  // top-left pixel of the picture
    int width;                   // pixels
    int height;                  // lines
    int pitch;                   // bytes from one line to the next
};

struct AviJpeg {
    const unsigned char* data;
    std::size_t size;
};

class AviJpegEncoder {
public:
    // Prepares for pictures of width x height; valid() tells whether it could.
    AviJpegEncoder(int width, int height);

    bool valid() const { return handle_ && buffer_; }
    bool fits(int width, int height) const { return width == width_ && height == height_; }
    // 4:2:0 at the given quality (1..100); size 0 when encoding failed.
    // The data stays valid until the next encode.
    AviJpeg encode(const AviBgrView& picture, int quality);

private:
    struct HandleDeleter {
        void operator()(void* handle) const;
    };
    struct BufferDeleter {
        void operator()(unsigned char* buffer) const;
    };

    std::unique_ptr<void, HandleDeleter> handle_;
    std::unique_ptr<unsigned char, BufferDeleter> buffer_;
    unsigned long capacity_ = 0;
    int width_;
    int height_;
};

}  // namespace ueye_sim::detail
