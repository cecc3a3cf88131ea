// Frames for Python: nimbrel_model.Frame and the camera's frames(), grab()
// and frames_dropped, over the module's frame stream.
#pragma once

#include <pybind11/pybind11.h>

namespace nimbrel_python {

namespace py = pybind11;

class Camera;

void bindFrames(py::module_& module, py::class_<Camera>& camera);

}  // namespace nimbrel_python
