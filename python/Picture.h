// The live picture as a numpy array: the area of interest copied out of the
// picture that the module hands out.
#pragma once

#include <Nimbrel_model/Camera.h>
#include <pybind11/numpy.h>

#include <cstdint>

namespace nimbrel_python {

// A new (height, width, 3) uint8 RGB array of the camera's area of interest.
pybind11::array_t<std::uint8_t> picture(const Nimbrel_model::Camera& camera);

}  // namespace nimbrel_python
