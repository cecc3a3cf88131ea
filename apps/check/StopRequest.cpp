#include "StopRequest.h"

#include <csignal>

namespace check {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;
struct sigaction previousInt {};
struct sigaction previousTerm {};

void onSignal(int signal) { receivedSignal = signal; }

}  // namespace

StopRequest::StopRequest() {
    receivedSignal = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt);
    sigaction(SIGTERM, &action, &previousTerm);
}

StopRequest::~StopRequest() {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
}

bool StopRequest::raised() { return receivedSignal != 0; }

int StopRequest::signalNumber() { return receivedSignal; }

void StopRequest::throwIfRaised() {
    if (raised()) throw Interrupted();
}

}  // namespace check
