// SIGINT and SIGTERM as a request to stop: the handler raises a flag that the
// event pump and the runner look at, so that the checker can put the camera
// back before it ends.
#pragma once

#include <stdexcept>

namespace check {

class StopRequest {
public:
    StopRequest();
    ~StopRequest();  // the previous handlers come back
    StopRequest(const StopRequest&) = delete;
    StopRequest& operator=(const StopRequest&) = delete;

    static bool raised();
    static int signalNumber();  // 0 while none arrived
    // Throws Interrupted once a signal arrived.
    static void throwIfRaised();
};

class Interrupted : public std::runtime_error {
public:
    Interrupted() : std::runtime_error("interrupted") {}
};

}  // namespace check
