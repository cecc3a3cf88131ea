// Ctrl-C (SIGINT), SIGTERM and SIGHUP (a closed terminal) as a request to
// stop, for the scope of one object: the handler only raises a flag that the
// host's loops look at, so that the host can finish a recording and put the
// camera back before it ends. SIGPIPE is ignored in the scope: a closed pipe
// on the output must not kill a host in the middle of a recording.
#pragma once

#include <array>
#include <csignal>
#include <stdexcept>

namespace host {

class StopSignal {
public:
    StopSignal();
    // Puts the previous handlers back.
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    static bool raised();
    // "SIGINT", "SIGTERM" or "SIGHUP"; empty while none arrived.
    static const char* name();
    // Throws Interrupted once a signal arrived.
    static void throwIfRaised();

private:
    static constexpr std::array<int, 4> kHandled{SIGINT, SIGTERM, SIGHUP, SIGPIPE};
    std::array<struct sigaction, kHandled.size()> previous_{};
};

// A stop request seen outside a recording: the host closes the camera and
// ends with exitStatus::kInterrupted.
class Interrupted : public std::runtime_error {
public:
    Interrupted();
};

}  // namespace host
