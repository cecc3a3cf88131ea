#include "DemoApp.h"

#include <utility>

wxIMPLEMENT_APP_NO_MAIN(demo::DemoApp);

namespace demo {

bool DemoApp::OnExceptionInMainLoop() {
    if (!handlerFailure_) handlerFailure_ = std::current_exception();
    // Keep going: the pump rethrows outside wx, where the demo can clean up.
    return true;
}

void DemoApp::rethrowHandlerFailure() {
    if (!handlerFailure_) return;
    std::exception_ptr failure = std::exchange(handlerFailure_, nullptr);
    std::rethrow_exception(failure);
}

}  // namespace demo
