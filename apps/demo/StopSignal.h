// Ctrl-C (SIGINT) and SIGTERM as a request to stop, for the scope of one
// object: the handler only raises a flag that the main loop looks at.
#pragma once

#include <csignal>
#include <stdexcept>
#include <string>

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
    // The signal's number; 0 while none arrived.
    int number() const;
    // Throws Interrupted once a signal arrived.
    void throwIfRaised() const;

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

// A stop request outside a recording: the demo closes the camera and ends.
class Interrupted : public std::runtime_error {
public:
    Interrupted(const char* signalName, int signalNumber)
        : std::runtime_error(std::string("interrupted by ") + signalName), signalNumber_(signalNumber) {}
    int signalNumber() const { return signalNumber_; }

private:
    int signalNumber_;
};

}  // namespace demo
