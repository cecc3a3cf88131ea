// The one way a consumer that is not a wx application of its own (the console
// hosts, the tests, the Python binding, the GStreamer element) gets wx
// running: a console application object when none exists. Inside a window
// application (the viewer, wxPython) the application already there is used.
#pragma once

#include <wx/app.h>

namespace host {

class ConsoleApp : public wxAppConsole {
public:
    bool OnInit() override { return true; }
    // A handler that throws (the module's recording tick does on SDK
    // failures) would otherwise be swallowed by wx: the event pump rethrows
    // it outside wx, where the host can clean up.
    bool OnExceptionInMainLoop() override;
};

// Starts a ConsoleApp unless an application object exists, and cleans up
// what it started when it ends. Timers and threads need the application for
// their whole life: create them inside the scope, destroy them before it ends.
class ApplicationScope {
public:
    // Throws std::runtime_error when wx cannot be initialised.
    ApplicationScope(int argc, char** argv);
    ApplicationScope();
    ~ApplicationScope();
    ApplicationScope(const ApplicationScope&) = delete;
    ApplicationScope& operator=(const ApplicationScope&) = delete;

    bool ownsApplication() const { return owned_; }

private:
    bool owned_ = false;
};

// The application object, console or window, once one exists. (wxTheApp
// claims a window application, which a console one is not.)
wxAppConsole& application();

}  // namespace host
