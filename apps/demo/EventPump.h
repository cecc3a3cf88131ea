// Runs the wx event loop on the main thread while the demo waits: the
// module's recording timer only advances while this runs.
#pragma once

#include <wx/evtloop.h>

#include <chrono>
#include <functional>

namespace demo {

class EventPump {
public:
    using Predicate = std::function<bool()>;
    using Action = std::function<void()>;

    EventPump();
    EventPump(const EventPump&) = delete;
    EventPump& operator=(const EventPump&) = delete;

    // Dispatches events until done() holds or `timeout` of wall-clock time
    // passed; eachTurn runs between dispatches. Returns done(). An exception
    // thrown by an event handler comes out of here.
    bool runUntil(const Predicate& done, std::chrono::milliseconds timeout, const Action& eachTurn = {});
    // The same without a time limit, for waits the user ends.
    void runUntil(const Predicate& done, const Action& eachTurn);
    void runFor(std::chrono::milliseconds duration);

private:
    void turn();

    wxEventLoop loop_;
    wxEventLoopActivator activator_;
};

}  // namespace demo
