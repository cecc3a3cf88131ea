// One recording from start to summary: starts it on the main thread, pumps
// the event loop that carries the module's recording timer, shows progress,
// and ends it at its own limit or on Ctrl-C with a complete file.
#pragma once

#include "EventPump.h"
#include "Interrupted.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace demo {

struct RecordingRequest {
    std::string path;
    double seconds = 5.0;  // 0: no length limit
    double fps = 25.0;
    double maxSizeMb = 1024.0;
    long replayFps = 25;
};

class RecordingSession {
public:
    // A stop signal ends the recording early, with a complete file.
    RecordingSession(Nimbrel_model::Camera& camera, EventPump& pump, const StopSignal& stop, std::ostream& out,
                     bool terminal);
    // Closes a recording that a failure left open, so its file is complete.
    ~RecordingSession();
    RecordingSession(const RecordingSession&) = delete;
    RecordingSession& operator=(const RecordingSession&) = delete;

    // Returns once the file is closed; prints progress and a summary.
    void record(const RecordingRequest& request);

private:
    // Pumps the event loop until the module ends the recording or a stop
    // signal arrives; bounded by wall-clock time when there is a length.
    void waitForEnd(const RecordingRequest& request, const EventPump::Action& eachTurn);
    // Stops the recording unless the module already closed it; returns how it ended.
    std::string close(const RecordingRequest& request, const std::string& path);
    void printSummary(const RecordingRequest& request, const std::string& path, const std::string& ending,
                      std::uint64_t frames, double wallSeconds) const;

    class EndListener : public Nimbrel_model::CameraListener {
    public:
        void recordEnd() override { ended = true; }
        bool ended = false;  // only the main thread touches it
    };

    Nimbrel_model::Camera& camera_;
    EventPump& pump_;
    const StopSignal& stop_;
    std::ostream& out_;
    bool terminal_;
    EndListener listener_;
    bool open_ = false;
};

}  // namespace demo
