// Recordings for Python. Starts, pauses and stops the module's recording,
// hears its end, and runs each tick of the module's recording timer under a
// guard: a tick that fails never unwinds through wxWidgets' or wxPython's
// loop; the recording is stopped (its file finished) and the failure goes to
// the caller instead.
#pragma once

#include "RecordingGuard.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <pybind11/pybind11.h>
#include <wx/eventfilter.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace nimbrel_python {

namespace py = pybind11;

struct RecordingRequest {
    std::string path;
    double seconds = 0.0;             // 0 or less: no length limit
    std::optional<double> fps;        // none: the camera's rate
    std::optional<double> maxSizeMb;  // none: no limit in practice
    std::optional<long> replayFps;    // none: the recording's rate
};

class Recorder : public Nimbrel_model::CameraListener, public wxEventFilter {
public:
    explicit Recorder(Nimbrel_model::Camera& camera);
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Opens a new recording, or resumes the open one (its path and replay
    // rate then stay). onEnd(error) follows an end by itself: error is None at
    // a limit, a CameraError when a frame could not be written.
    void start(const RecordingRequest& request, py::object onEnd);
    void pause();
    // Closes the open recording; nothing when none is open.
    void stop();
    // A new recording, the event loop running until it ends by itself;
    // progress(recorded seconds, seconds) between. Ctrl-C or an exception of
    // progress stops it, the file finished, and then propagates.
    void record(const RecordingRequest& request, const py::object& progress);
    bool isOpen() const { return open_; }
    // Whether a tick of the module's timer is running (a callback of it can be
    // on the stack): the camera must not be destroyed under it.
    bool inTick() const { return ticking_ > 0; }
    // Runs `action` once the running tick is over. A nested event loop inside
    // the tick (the module yields to the loop while it writes a frame) would
    // run anything posted earlier while the tick is still on the stack.
    void afterTick(std::function<void()> action) { afterTick_ = std::move(action); }

    void recordEnd() override;
    int FilterEvent(wxEvent& event) override;

private:
    struct Settings {
        double fps;
        double maxSizeMb;
        long replayFps;
    };
    Settings settle(const RecordingRequest& request) const;
    void finish(const std::exception_ptr& failure);
    double recordedSeconds() const;
    // The file is closed: its playback rate kept as a fraction when it was rounded.
    void closed();

    Nimbrel_model::Camera& camera_;
    bool open_ = false;
    double fps_ = 0.0;
    double seconds_ = 0.0;
    long ticks_ = 0;
    int ticking_ = 0;
    std::function<void()> afterTick_;
    py::object onEnd_;
    std::string path_;            // the open recording's file
    std::exception_ptr failure_;  // what ended the last recording, if it failed
    double exactRate_ = 0.0;      // the playback rate to write back at its end, if any
    // Stops the recording before its file system fills; kept until the next
    // recording, since it may be on the stack when it stops one.
    std::unique_ptr<host::RecordingGuard> guard_;
    std::unique_ptr<host::RecordingGuard> retired_;
};

}  // namespace nimbrel_python
