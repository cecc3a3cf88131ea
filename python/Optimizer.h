// The pixel clock optimisation for Python. The module tells its end on its
// worker thread; that news is handed to the main thread (a call queued on the
// application object), where the Python callback runs with the GIL, from the
// event loop: the binding's pump or wxPython's main loop.
#pragma once

#include <Nimbrel_model/Camera.h>
#include <pybind11/pybind11.h>

namespace nimbrel_python {

namespace py = pybind11;

class Optimizer {
public:
    explicit Optimizer(Nimbrel_model::Camera& camera) : camera_(camera) {}

    // Starts an optimisation. With onEnd, returns at once and onEnd() runs on
    // the main thread when the work is over; without, runs the event loop
    // until then.
    void start(py::object onEnd);
    // Runs the event loop until every optimisation has ended and its
    // callback ran, or `seconds` passed. Returns whether they did.
    static bool waitAll(double seconds);
    // Drops the callbacks of optimisations not yet delivered: a closing
    // camera runs none. Their work still ends (waitAll waits for it).
    static void cancelCallbacks();

private:
    Nimbrel_model::Camera& camera_;
};

}  // namespace nimbrel_python
