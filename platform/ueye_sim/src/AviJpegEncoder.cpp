#include "AviJpegEncoder.h"

#include <turbojpeg.h>

namespace ueye_sim::detail {

void AviJpegEncoder::HandleDeleter::operator()(void* handle) const { tjDestroy(handle); }
void AviJpegEncoder::BufferDeleter::operator()(unsigned char* buffer) const { tjFree(buffer); }

AviJpegEncoder::AviJpegEncoder(int width, int height) : handle_(tjInitCompress()), width_(width), height_(height) {
    const unsigned long bound = tjBufSize(width, height, TJSAMP_420);
    if (bound == static_cast<unsigned long>(-1)) return;
    // tjAlloc takes an int: frames beyond 2 GB of JPEG are out of reach anyway.
    if (bound > 0x7fffffffUL) return;
    buffer_.reset(tjAlloc(static_cast<int>(bound)));
    if (buffer_) capacity_ = bound;
}

AviJpeg AviJpegEncoder::encode(const AviBgrView& picture, int quality) {
    if (!valid() || picture.width != width_ || picture.height != height_) return {nullptr, 0};
    unsigned char* out = buffer_.get();
    unsigned long size = capacity_;
    // NOREALLOC: the buffer from tjBufSize always fits, and must stay ours.
    const int rc = tjCompress2(handle_.get(), picture.first, picture.width, picture.pitch, picture.height, TJPF_BGR,
                               &out, &size, TJSAMP_420, quality, TJFLAG_NOREALLOC);
    if (rc != 0) return {nullptr, 0};
    return {out, static_cast<std::size_t>(size)};
}

}  // namespace ueye_sim::detail
