#include "EventLoop.h"

#include "ConsoleApp.h"
#include "Errors.h"
#include "EventPump.h"

#include <wx/thread.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <stdexcept>

namespace nimbrel_python {

namespace {

// Short enough for a smooth progress report and a prompt Ctrl-C.
constexpr std::chrono::milliseconds dispatchTimeout(10);

std::unique_ptr<host::ApplicationScope>& ownApplication() {
    static std::unique_ptr<host::ApplicationScope> scope;
    return scope;
}

}  // namespace

void startWx() {
    if (wxAppConsole::GetInstance()) return;
    try {
        ownApplication() = std::make_unique<host::ApplicationScope>();
    } catch (const std::runtime_error& error) {
        raiseCameraError(error.what());
    }
}

void stopWx() { ownApplication().reset(); }

void requireWxPythonFirst() {
    if (wxAppConsole::GetInstance()) return;
    if (!py::module_::import("sys").attr("modules").contains("wx")) return;
    raiseCameraError(
        "wxPython is imported but has no wx.App yet: create wx.App() before nimbrel_model.open(), whose "
        "console event loop could not be handed to a later wx.App()");
}

void requireOwnApplicationCurrent() {
    if (!ownApplication() || !ownApplication()->ownsApplication()) return;
    if (dynamic_cast<host::ConsoleApp*>(wxAppConsole::GetInstance())) return;
    raiseCameraError(
        "nimbrel_model.open() ran before wx.App() in this process: the console event loop it started cannot be "
        "handed to wxPython, so a recording would take no frame; create wx.App() before the first "
        "nimbrel_model.open()");
}

// Python's main thread, which need not be the one that loaded this module.
bool onPythonMainThread() {
    static const unsigned long mainThread =
        py::module_::import("threading").attr("main_thread")().attr("ident").cast<unsigned long>();
    return PyThread_get_thread_ident() == mainThread;
}

void requireMainThread() {
    if (!onPythonMainThread() || (wxAppConsole::GetInstance() && !wxIsMainThread()))
        raiseCameraError("the camera is used from the main thread only (the one running the event loop)");
}

bool pumpUntil(const std::function<bool()>& done, double seconds, const std::function<void()>& eachTurn) {
    if (!wxAppConsole::GetInstance()) return done();  // wx already shut down, at exit
    requireMainThread();
    host::EventPump pump(
        [] {
            if (PyErr_CheckSignals() != 0) throw py::error_already_set();
        },
        dispatchTimeout,
        [](const host::EventPump::Action& dispatch) {
            py::gil_scoped_release released;
            dispatch();
        });
    const auto timeout =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::duration<double>(std::min(seconds, 1e9)));
    return pump.runUntil(done, timeout, eachTurn);
}

void runPython(const std::function<void()>& code) {
    py::gil_scoped_acquire gil;
    try {
        code();
    } catch (py::error_already_set& error) {
        if (host::EventPump::isWaiting()) {
            host::keepHandlerFailure(std::current_exception());
        } else {
            error.discard_as_unraisable("a nimbrel_model callback");
        }
    }
}

}  // namespace nimbrel_python
