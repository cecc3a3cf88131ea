#include "CheckApp.h"

#include <utility>

wxIMPLEMENT_APP_NO_MAIN(check::CheckApp);

namespace check {

bool CheckApp::OnExceptionInMainLoop() {
    if (!handlerFailure_) handlerFailure_ = std::current_exception();
    return true;
}

void CheckApp::rethrowHandlerFailure() {
    if (!handlerFailure_) return;
    std::rethrow_exception(std::exchange(handlerFailure_, nullptr));
}

}  // namespace check
