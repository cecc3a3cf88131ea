#include "StopSignal.h"

namespace hosts {

namespace {

volatile std::sig_atomic_t receivedSignal = 0;

void onStopSignal(int signal) { receivedSignal = signal; }

}  // namespace

StopSignal::StopSignal() {
    receivedSignal = 0;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &previousInt_);
    sigaction(SIGTERM, &action, &previousTerm_);
}

StopSignal::~StopSignal() {
    sigaction(SIGINT, &previousInt_, nullptr);
    sigaction(SIGTERM, &previousTerm_, nullptr);
}

bool StopSignal::raised() { return receivedSignal != 0; }

const char* StopSignal::name() {
    switch (receivedSignal) {
        case SIGINT: return "SIGINT";
        case SIGTERM: return "SIGTERM";
        default: return "";
    }
}

int StopSignal::number() { return receivedSignal; }

}  // namespace hosts
