#include "Pump.h"

#include "ConsoleApp.h"
#include "Interrupted.h"

namespace check {

Pump::Pump() : activator_(&loop_) {}

bool Pump::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return done();
        loop_.DispatchTimeout(10);
        wxGetApp().ProcessPendingEvents();
        wxGetApp().rethrowHandlerFailure();
        if (StopSignal::raised()) throw Interrupted();
    }
    return true;
}

void Pump::runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

}  // namespace check
