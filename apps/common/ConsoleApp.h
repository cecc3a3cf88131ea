// The console application object wx needs for its timers and event loop,
// shared by the console hosts.
#pragma once

#include <wx/app.h>

#include <exception>

namespace hosts {

class ConsoleApp : public wxAppConsole {
public:
    bool OnInit() override { return true; }
    // A handler that throws (the module's recording tick does on SDK failures)
    // would otherwise be swallowed by wx: keep it for the pump to rethrow
    // outside wx, where the host can clean up.
    bool OnExceptionInMainLoop() override;
    // Rethrows a failure kept from an event handler, if any.
    void rethrowHandlerFailure();

private:
    std::exception_ptr handlerFailure_;
};

}  // namespace hosts

wxDECLARE_APP(hosts::ConsoleApp);
