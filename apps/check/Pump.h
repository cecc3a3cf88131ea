// Runs wx's event loop on the main thread while a check waits: the module's
// recording timer advances only while it runs. Every wait has a deadline and
// ends early on a stop request.
#pragma once

#include <wx/evtloop.h>

#include <chrono>
#include <functional>

namespace check {

class Pump {
public:
    Pump();
    Pump(const Pump&) = delete;
    Pump& operator=(const Pump&) = delete;

    // Dispatches events until done() holds or `timeout` passed; returns done().
    // Rethrows what an event handler threw; throws Interrupted on a stop request.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    void runFor(std::chrono::milliseconds duration);

private:
    wxEventLoop loop_;
    wxEventLoopActivator activator_;
};

}  // namespace check
