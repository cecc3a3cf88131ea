// Runs wx's event loop on the main thread while a host waits: the module's
// recording timer only advances while it runs. It works with whichever
// application object exists (see ApplicationScope): inside a running loop (a
// window's) it dispatches that loop; otherwise it runs a loop of the kind the
// application's traits make (a console loop for a console application).
#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>

class wxEventLoopBase;
class wxEventLoopActivator;

namespace host {

class EventPump {
public:
    using Predicate = std::function<bool()>;
    using Action = std::function<void()>;
    // Wraps each dispatch: it must call `dispatch` once (a binding releases
    // its interpreter lock around it).
    using AroundDispatch = std::function<void(const Action& dispatch)>;

    // `everyTurn` runs after each dispatch, in every wait: a host's stop
    // check, which may throw to end the wait.
    explicit EventPump(Action everyTurn = {}, std::chrono::milliseconds dispatchTimeout = std::chrono::milliseconds(10),
                       AroundDispatch aroundDispatch = {});
    ~EventPump();
    EventPump(const EventPump&) = delete;
    EventPump& operator=(const EventPump&) = delete;

    // Dispatches events until done() holds or `timeout` of wall-clock time
    // passed; eachTurn runs between dispatches. Returns done(). What an event
    // handler threw (see keepHandlerFailure) comes out of here.
    bool runUntil(const Predicate& done, std::chrono::milliseconds timeout, const Action& eachTurn = {});
    // The same without a time limit, for waits the user ends.
    void runUntil(const Predicate& done, const Action& eachTurn);
    void runFor(std::chrono::milliseconds duration);
    // One dispatch: timers, pending events, then everyTurn.
    void turn();

    // Whether a pump is waiting on this thread's stack (a handler's failure
    // then reaches the host through it).
    static bool isWaiting();

private:
    std::unique_ptr<wxEventLoopBase> own_;
    wxEventLoopBase* loop_ = nullptr;
    std::unique_ptr<wxEventLoopActivator> activator_;
    Action everyTurn_;
    std::chrono::milliseconds dispatchTimeout_;
    AroundDispatch aroundDispatch_;
};

// For an application's OnExceptionInMainLoop: keeps what a handler threw (the
// module's recording tick throws on SDK failures) for the next turn of a pump
// to rethrow outside wx. The first failure is kept until it was rethrown.
void keepHandlerFailure(std::exception_ptr failure);

}  // namespace host
