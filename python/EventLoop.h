// The binding's side of the host library's event loop: the interpreter lock
// released while wx dispatches, Python's signals checked between dispatches,
// and Python callbacks run from wx handlers.
#pragma once

#include <pybind11/pybind11.h>

#include <functional>

namespace nimbrel_python {

namespace py = pybind11;

// Makes sure an application object exists (see host::ApplicationScope): inside
// a wxPython application nothing is started; otherwise a console application
// object is made, once for the process.
void startWx();
// CameraError when wxPython is imported but has no wx.App yet: the console
// application startWx() would make cannot be handed to a later wx.App().
void requireWxPythonFirst();
// CameraError when startWx() made the console application and a wx.App()
// made later has taken its place: wxPython's loop does not run the timers
// made under the console application, so no recording would take a frame.
void requireOwnApplicationCurrent();
// Ends the console application that startWx() made, if any; at exit.
void stopWx();
// Refuses a call from another thread than wx's main thread, where the event
// loop, the module's timer and every camera call belong.
void requireMainThread();

// Runs the application's event loop on this thread, the GIL released while it
// waits, until done() holds or `seconds` of wall-clock time passed; eachTurn
// runs between dispatches, with the GIL. A pending signal's exception
// (Ctrl-C: KeyboardInterrupt), or one that a callback raised meanwhile, comes
// out as py::error_already_set. Returns done().
bool pumpUntil(const std::function<bool()>& done, double seconds, const std::function<void()>& eachTurn = {});

// Runs Python code from an event handler or a module callback: takes the GIL.
// What it raises goes to the running pump, which raises it; outside one
// (wxPython's own main loop) it is printed as unraisable, as wxPython does
// with its handlers' exceptions.
void runPython(const std::function<void()>& code);

}  // namespace nimbrel_python
