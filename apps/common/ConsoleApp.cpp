#include "ConsoleApp.h"

#include <utility>

wxIMPLEMENT_APP_NO_MAIN(hosts::ConsoleApp);

namespace hosts {

bool ConsoleApp::OnExceptionInMainLoop() {
    if (!handlerFailure_) handlerFailure_ = std::current_exception();
    return true;
}

void ConsoleApp::rethrowHandlerFailure() {
    if (!handlerFailure_) return;
    std::rethrow_exception(std::exchange(handlerFailure_, nullptr));
}

}  // namespace hosts
