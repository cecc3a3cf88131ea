#include "ConsoleApp.h"

#include "EventPump.h"

wxIMPLEMENT_APP_NO_MAIN(hosts::ConsoleApp);

namespace hosts {

bool ConsoleApp::OnExceptionInMainLoop() {
    keepHandlerFailure(std::current_exception());
    return true;
}

}  // namespace hosts
