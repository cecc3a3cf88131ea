// Ctrl-C (SIGINT) and SIGTERM as a request to stop, for the scope of one
// object: the handler only raises a flag that the host's loops look at, so
// that the host can put the camera back before it ends.
#pragma once

#include <csignal>

namespace hosts {

class StopSignal {
public:
    StopSignal();
    // Puts the previous handlers back.
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    static bool raised();
    // "SIGINT" or "SIGTERM"; empty while none arrived.
    static const char* name();
    // The signal's number; 0 while none arrived.
    static int number();

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

}  // namespace hosts
