// The application object of the console hosts (the demo, the checker): wx
// needs one for its timers and event loop. Only console hosts link it; the
// viewer has its own window application.
#pragma once

#include <wx/app.h>

namespace hosts {

class ConsoleApp : public wxAppConsole {
public:
    bool OnInit() override { return true; }
    // A handler that throws (the module's recording tick does on SDK
    // failures) would otherwise be swallowed by wx: the event pump rethrows
    // it outside wx, where the host can clean up.
    bool OnExceptionInMainLoop() override;
};

}  // namespace hosts
