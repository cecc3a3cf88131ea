// The camera's live picture for a host: a colour camera lends its own image
// memory (valid until the camera closes), a monochrome one hands over a new
// array that the host must delete. Holding the picture in this object keeps
// that rule in one place.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <cstddef>
#include <memory>

namespace host {

class LivePicture {
public:
    explicit LivePicture(const Nimbrel_model::Camera& camera)
        : pixels_(camera.getActiveImage()), width_(camera.getMaxWidth()), height_(camera.getMaxHeight()) {
        if (!camera.isColor()) owned_.reset(pixels_);
    }

    // RGB, 3 bytes a pixel, lines of the sensor's full width; null when the
    // camera gave no picture.
    const unsigned char* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t pitch() const { return static_cast<std::size_t>(width_) * 3; }
    std::size_t bytes() const { return pitch() * static_cast<std::size_t>(height_); }
    bool ok() const { return pixels_ != nullptr && width_ > 0 && height_ > 0; }

private:
    unsigned char* pixels_;
    int width_;
    int height_;
    std::unique_ptr<unsigned char[]> owned_;
};

}  // namespace host
