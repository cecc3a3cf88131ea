#include "StopSignal.h"

#include <string>

namespace host {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;

void onStopSignal(int signal) { receivedSignal = signal; }

}  // namespace

StopSignal::StopSignal() {
    receivedSignal = 0;
    for (std::size_t i = 0; i < kHandled.size(); ++i) {
        struct sigaction action {};
        action.sa_handler = kHandled[i] == SIGPIPE ? SIG_IGN : onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(kHandled[i], &action, &previous_[i]);
    }
}

StopSignal::~StopSignal() {
    for (std::size_t i = 0; i < kHandled.size(); ++i) sigaction(kHandled[i], &previous_[i], nullptr);
}

bool StopSignal::raised() { return receivedSignal != 0; }

const char* StopSignal::name() {
    switch (receivedSignal) {
        case SIGINT: return "SIGINT";
        case SIGTERM: return "SIGTERM";
        case SIGHUP: return "SIGHUP";
        default: return "";
    }
}

void StopSignal::throwIfRaised() {
    if (raised()) throw Interrupted();
}

Interrupted::Interrupted() : std::runtime_error(std::string("interrupted by ") + StopSignal::name()) {}

}  // namespace host
