// One recording from start to summary: starts it on the main thread, pumps
// the event loop that carries the module's recording timer, shows progress,
// and ends it at its own limit or on a stop signal with a complete file. A
// tick that fails (a full disk) ends it too: the file is finished as far as
// it can be, and the error says what it kept.
#pragma once

#include "EventPump.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

namespace demo {

struct RecordingRequest {
    std::string path;
    double seconds = 5.0;       // 0: no length limit
    std::optional<double> fps;  // taken into the file; default: the camera's rate
    double maxSizeMb = 1024.0;
    std::optional<long> replayFps;  // default: the recording rate
};

class RecordingSession {
public:
    RecordingSession(Nimbrel_model::Camera& camera, host::EventPump& pump, std::ostream& out, bool terminal);
    // Closes a recording that an error left open, so its file is complete.
    ~RecordingSession();
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    // Returns once the file is closed; prints progress and a summary. A
    // stop signal ends the recording early and returns normally.
    // std::runtime_error when a tick failed, describing what the file kept.
    void record(const RecordingRequest& request);

private:
    // Pumps the event loop until the module ends the recording or a stop
    // signal arrives; bounded by wall-clock time when there is a length.
    // `stopped`: the host stopped it itself (the disk nearly full).
    void waitForEnd(const RecordingRequest& request, const host::EventPump::Action& eachTurn,
                    const std::function<bool()>& stopped);
    // Stops the recording, once more after the event loop ran when the first
    // try fails; returns the last failure, "" when the file was finished.
    std::string finish();
    void printSummary(const RecordingRequest& request, const std::string& path, const std::string& ending,
                      std::uint64_t frames, double wallSeconds, double playFps) const;

    class EndListener : public Nimbrel_model::CameraListener {
    public:
        void recordEnd() override { ended = true; }
        bool ended = false;  // only the main thread touches it
    };

    Nimbrel_model::Camera& camera_;
    host::EventPump& pump_;
    std::ostream& out_;
    bool terminal_;
    EndListener listener_;
    bool open_ = false;
};

}  // namespace demo
