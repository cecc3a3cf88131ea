// The extension _nimbrel_model under the package nimbrel_model (its
// __init__.py re-exports all of it): the camera-model module for Python, with
// numpy pictures, recordings and wxPython applications.
#include "Bindings.h"
#include "Camera.h"
#include "Errors.h"

PYBIND11_MODULE(_nimbrel_model, module) {
    module.doc() = R"(Nimbrel cameras from Python: live pictures as numpy arrays, every camera parameter, AVI
recordings, the settings file.

    import nimbrel_model as nm
    with nm.open() as cam:
        cam.exposure = 10.0
        img = cam.picture()
        cam.record("clip.avi", seconds=2, fps=25)

Inside a wxPython application the camera's timer and callbacks run in wxPython's main loop; elsewhere the
binding runs wxWidgets as a console application and record(), run_events() and optimize_clock() run its loop.)";
    module.attr("__version__") = NIMBREL_VERSION;
    nimbrel_python::registerErrors(module);
    nimbrel_python::bindCamera(module);
    nimbrel_python::bindConfig(module);
    module.def("_close_at_exit", &nimbrel_python::Camera::closeAll,
               "Closes the camera and ends the binding's own wxWidgets, at exit.");
    pybind11::module_::import("atexit").attr("register")(module.attr("_close_at_exit"));
}
