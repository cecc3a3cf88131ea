#include "EventPump.h"

#include <wx/app.h>
#include <wx/apptrait.h>
#include <wx/evtloop.h>

#include <utility>

namespace host {

namespace {

// Only the main thread runs handlers and pumps.
std::exception_ptr handlerFailure;
int waiting = 0;

struct Waiting {
    Waiting() { ++waiting; }
    ~Waiting() { --waiting; }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;
};

void rethrowHandlerFailure() {
    if (handlerFailure) std::rethrow_exception(std::exchange(handlerFailure, nullptr));
}

}  // namespace

void keepHandlerFailure(std::exception_ptr failure) {
    if (!handlerFailure) handlerFailure = std::move(failure);
}

EventPump::EventPump(Action everyTurn, std::chrono::milliseconds dispatchTimeout, AroundDispatch aroundDispatch)
    : loop_(wxEventLoopBase::GetActive()),
      everyTurn_(std::move(everyTurn)),
      dispatchTimeout_(dispatchTimeout),
      aroundDispatch_(std::move(aroundDispatch)) {
    if (loop_) return;
    // wxTheApp means a wxApp in a window build; the pump serves console hosts too.
    own_.reset(wxAppConsole::GetInstance()->GetTraits()->CreateEventLoop());
    loop_ = own_.get();
    activator_ = std::make_unique<wxEventLoopActivator>(loop_);
}

EventPump::~EventPump() = default;

bool EventPump::isWaiting() { return waiting > 0; }

bool EventPump::runUntil(const Predicate& done, std::chrono::milliseconds timeout, const Action& eachTurn) {
    const Waiting waitingHere;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return done();
        turn();
        if (eachTurn) eachTurn();
    }
    return true;
}

void EventPump::runUntil(const Predicate& done, const Action& eachTurn) {
    const Waiting waitingHere;
    while (!done()) {
        turn();
        if (eachTurn) eachTurn();
    }
}

void EventPump::runFor(std::chrono::milliseconds duration) {
    runUntil([] { return false; }, duration);
}

void EventPump::turn() {
    const Action dispatch = [this] {
        loop_->DispatchTimeout(static_cast<unsigned long>(dispatchTimeout_.count()));
        wxAppConsole::GetInstance()->ProcessPendingEvents();
    };
    if (aroundDispatch_) {
        aroundDispatch_(dispatch);
    } else {
        dispatch();
    }
    rethrowHandlerFailure();
    if (everyTurn_) everyTurn_();
}

}  // namespace host
