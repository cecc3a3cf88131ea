#include "TickWatch.h"

namespace host {

TickWatch::TickWatch(const Nimbrel_model::Camera& camera)
    : camera_(camera), lastTick_(std::chrono::steady_clock::now()) {
    wxEvtHandler::AddFilter(this);
}

TickWatch::~TickWatch() { wxEvtHandler::RemoveFilter(this); }

int TickWatch::FilterEvent(wxEvent& event) {
    if (event.GetEventType() == wxEVT_TIMER && event.GetEventObject() == &camera_) restart();
    return Event_Skip;
}

void TickWatch::restart() { lastTick_ = std::chrono::steady_clock::now(); }

bool TickWatch::stalled(double fps) const {
    const auto interval = std::chrono::duration<double>(fps > 0.0 ? 1.0 / fps : 0.0);
    return std::chrono::steady_clock::now() - lastTick_ > kTicklessLimit + interval;
}

std::string TickWatch::stalledMessage() {
    return "the recording has had no tick for 2 s: the event loop does not run the camera's timer (a console host "
           "must be compiled with wxUSE_GUI=0: link Nimbrel_model::console, or use pkg-config's "
           "nimbrel_model-console)";
}

}  // namespace host
