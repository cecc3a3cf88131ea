// Notices a recording that takes no frame: the module's timer ticks only in
// an event loop that dispatches it, and a console host compiled without
// wxUSE_GUI=0 runs a loop that never does. Watching the camera's timer events
// lets a host say so instead of waiting forever.
#pragma once

#include <Nimbrel_model/Camera.h>
#include <wx/eventfilter.h>

#include <chrono>
#include <string>

namespace host {

// No tick for this long beyond the recording's own interval means none comes.
constexpr std::chrono::milliseconds kTicklessLimit{2000};

class TickWatch : public wxEventFilter {
public:
    // Watches `camera`'s timer events from now on (main thread).
    explicit TickWatch(const Nimbrel_model::Camera& camera);
    ~TickWatch() override;
    TickWatch(const TickWatch&) = delete;
    TickWatch& operator=(const TickWatch&) = delete;

    int FilterEvent(wxEvent& event) override;

    // Counts from now: a paused or resumed recording starts afresh.
    void restart();
    // True once a recording at `fps` has had no tick for kTicklessLimit plus
    // one interval.
    bool stalled(double fps) const;

    // What a host says then.
    static std::string stalledMessage();

private:
    const Nimbrel_model::Camera& camera_;
    std::chrono::steady_clock::time_point lastTick_;
};

}  // namespace host
