// Ctrl-C (SIGINT) and SIGTERM as a request to stop, for the scope of one
// object: the handler only raises a flag that the main loop looks at.
#pragma once

#include <csignal>

namespace demo {

class StopSignal {
public:
    StopSignal();
    // Puts the previous handlers back.
    ~StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    bool raised() const;
    // "SIGINT" or "SIGTERM"; empty while none arrived.
    const char* name() const;

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

}  // namespace demo
