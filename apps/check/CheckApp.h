// The console application object wx needs for its timers and event loop.
#pragma once

#include <wx/app.h>

#include <exception>

namespace check {

class CheckApp : public wxAppConsole {
public:
    bool OnInit() override { return true; }
    // The module's recording tick throws on an SDK failure from inside the
    // event loop: keep the exception for the pump to rethrow in the check.
    bool OnExceptionInMainLoop() override;
    void rethrowHandlerFailure();

private:
    std::exception_ptr handlerFailure_;
};

}  // namespace check

wxDECLARE_APP(check::CheckApp);
