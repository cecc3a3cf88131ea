// The console application object that wx needs for its timers and event loop.
#pragma once

#include <wx/app.h>

#include <exception>

namespace demo {

class DemoApp : public wxAppConsole {
public:
    bool OnInit() override { return true; }
    // A handler that throws (the module's recording tick does on SDK failures)
    // would otherwise be swallowed by wx: keep it for the pump to rethrow.
    bool OnExceptionInMainLoop() override;
    // Rethrows a failure kept from an event handler, if any.
    void rethrowHandlerFailure();

private:
    std::exception_ptr handlerFailure_;
};

}  // namespace demo

wxDECLARE_APP(demo::DemoApp);
