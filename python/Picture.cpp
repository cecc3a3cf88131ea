#include "Picture.h"

#include "Errors.h"
#include "LivePicture.h"

#include <cstring>
#include <string>

namespace nimbrel_python {

namespace py = pybind11;

py::array_t<std::uint8_t> picture(const Nimbrel_model::Camera& camera) {
    const int width = camera.getWidth();
    const int height = camera.getHeight();
    // The area's pixels sit at the picture's top-left corner, on lines of the
    // sensor's full width. A colour camera lends its own buffer, which the
    // next frame overwrites; a monochrome one hands over an array that
    // LivePicture releases.
    const host::LivePicture live(camera);
    if (!live.ok()) raiseCameraError("the camera gave no picture");
    if (width <= 0 || height <= 0 || width > live.width() || height > live.height())
        raiseCameraError("the area of interest (" + std::to_string(width) + " x " + std::to_string(height) +
                         ") does not fit the sensor's picture");
    py::array_t<std::uint8_t> out({height, width, 3});
    std::uint8_t* target = out.mutable_data();
    const std::size_t line = static_cast<std::size_t>(width) * 3;
    {
        py::gil_scoped_release released;
        if (width == live.width()) {
            std::memcpy(target, live.pixels(), line * height);
        } else {
            const unsigned char* source = live.pixels();
            for (int y = 0; y < height; ++y, target += line, source += live.pitch()) std::memcpy(target, source, line);
        }
    }
    return out;
}

}  // namespace nimbrel_python
