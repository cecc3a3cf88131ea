// A stop request outside a recording: the demo closes the camera and ends.
#pragma once

#include <stdexcept>
#include <string>

#include "StopSignal.h"

namespace demo {

using hosts::StopSignal;

class Interrupted : public std::runtime_error {
public:
    Interrupted(const char* signalName, int signalNumber)
        : std::runtime_error(std::string("interrupted by ") + signalName), signalNumber_(signalNumber) {}
    int signalNumber() const { return signalNumber_; }

private:
    int signalNumber_;
};

// Throws Interrupted once a signal arrived.
inline void throwIfRaised(const StopSignal&) {
    if (StopSignal::raised()) throw Interrupted(StopSignal::name(), StopSignal::number());
}

}  // namespace demo
