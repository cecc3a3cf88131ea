#include "EventLoop.h"

#include "Errors.h"

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/thread.h>

#include <chrono>
#include <memory>

namespace nimbrel_python {

namespace {

// Short enough for a smooth progress report and a prompt Ctrl-C.
constexpr unsigned long dispatchTimeoutMs = 10;

class ConsoleApp : public wxAppConsole {
public:
    bool OnInit() override { return true; }
};

bool ownApp = false;
int pumpDepth = 0;                   // pumps running on the main thread
std::exception_ptr callbackFailure;  // what a callback raised inside one

void rethrowCallbackFailure() {
    if (!callbackFailure) return;
    std::exception_ptr failure = callbackFailure;
    callbackFailure = nullptr;
    std::rethrow_exception(failure);
}

}  // namespace

void startWx() {
    if (wxAppConsole::GetInstance()) return;
    // A console application: its timers fire in the console event loop that
    // pumpUntil() runs, with no display needed.
    static int argc = 1;
    static char name[] = "python";
    static char* argv[] = {name, nullptr};
    wxApp::SetInstance(new ConsoleApp);
    if (!wxEntryStart(argc, argv)) {
        wxApp::SetInstance(nullptr);
        raiseCameraError("wxWidgets could not be initialised");
    }
    ownApp = true;
}

void stopWx() {
    if (!ownApp) return;
    ownApp = false;
    wxEntryCleanup();
}

wxAppConsole& application() { return *wxAppConsole::GetInstance(); }

void requireMainThread() {
    if (!wxIsMainThread())
        raiseCameraError("the camera is used from the main thread only (the one running the event loop)");
}

bool pumpUntil(const std::function<bool()>& done, double seconds, const std::function<void()>& eachTurn) {
    if (!wxAppConsole::GetInstance()) return done();  // wx already shut down, at exit
    requireMainThread();
    std::unique_ptr<wxEventLoopBase> loop(application().GetTraits()->CreateEventLoop());
    wxEventLoopActivator activate(loop.get());
    struct Depth {
        Depth() { ++pumpDepth; }
        ~Depth() { --pumpDepth; }
    } depth;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        {
            py::gil_scoped_release released;
            loop->DispatchTimeout(dispatchTimeoutMs);
            application().ProcessPendingEvents();
        }
        rethrowCallbackFailure();
        if (PyErr_CheckSignals() != 0) throw py::error_already_set();
        if (eachTurn) eachTurn();
    }
    return true;
}

void runPython(const std::function<void()>& code) {
    py::gil_scoped_acquire gil;
    try {
        code();
    } catch (py::error_already_set& error) {
        if (pumpDepth > 0 && !callbackFailure) {
            callbackFailure = std::current_exception();
        } else {
            error.discard_as_unraisable("a nimbrel_model callback");
        }
    }
}

}  // namespace nimbrel_python
