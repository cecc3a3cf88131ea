#include "EventPump.h"

#include "ConsoleApp.h"

namespace demo {

namespace {
// Short enough for a smooth progress line and a prompt reaction to Ctrl-C.
constexpr unsigned long dispatchTimeoutMs = 10;
}  // namespace

EventPump::EventPump() : activator_(&loop_) {}

bool EventPump::runUntil(const Predicate& done, std::chrono::milliseconds timeout, const Action& eachTurn) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return done();
        turn();
        if (eachTurn) eachTurn();
    }
    return true;
}

void EventPump::runUntil(const Predicate& done, const Action& eachTurn) {
    while (!done()) {
        turn();
        if (eachTurn) eachTurn();
    }
}

void EventPump::runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

void EventPump::turn() {
    loop_.DispatchTimeout(dispatchTimeoutMs);
    wxGetApp().ProcessPendingEvents();
    wxGetApp().rethrowHandlerFailure();
}

}  // namespace demo
