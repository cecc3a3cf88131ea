// The parts of the Python module nimbrel_model, each added by its own file.
#pragma once

#include <pybind11/pybind11.h>

namespace nimbrel_python {

namespace py = pybind11;

// nimbrel_model.open(), Camera and run_events().
void bindCamera(py::module_& module);
// nimbrel_model.config() and Config.
void bindConfig(py::module_& module);

}  // namespace nimbrel_python
