// The camera's ranges for Python: read-only (min, max, step) properties, and
// setters that refuse a value outside them with ValueError before it reaches
// the camera (the module itself passes any value on, and the camera clamps).
#pragma once

#include "Camera.h"

#include <pybind11/pybind11.h>

#include <optional>

namespace nimbrel_python {

namespace py = pybind11;

// exposure_range, frame_rate_range, gain_range, color_gain_range,
// brightness_range, width_range, height_range.
void bindRanges(py::class_<Camera>& cls);

void setExposureChecked(Nimbrel_model::Camera& camera, double milliseconds);
void setFrameRateChecked(Nimbrel_model::Camera& camera, double fps);
void setBrightnessChecked(Nimbrel_model::Camera& camera, double value);
// None leaves that gain as it is; all four checked before any is set.
void setGainsChecked(Nimbrel_model::Camera& camera, std::optional<double> master, std::optional<double> red,
                     std::optional<double> green, std::optional<double> blue);
void setAoiChecked(Nimbrel_model::Camera& camera, double width, double height);

}  // namespace nimbrel_python
