// What every check works with: the module's camera and configuration, the
// event pump, the sandbox, and the camera settings found when the camera was
// first opened, which the checker puts back at the end.
#pragma once

#include "CameraBaseline.h"
#include "EventPump.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>

#include <atomic>
#include <optional>
#include <stdexcept>
#include <string>

namespace check {

class Sandbox;

// A check's own verdict, beside the module's Qel::Exception.
class CheckFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CheckSkipped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Counts what the module tells the checker. One for the whole run: the
// module keeps a bare pointer to it, and an optimisation thread may still
// call it after a check gave up waiting.
class Listener : public Nimbrel_model::CameraListener {
public:
    void recordEnd() override { ++recordEnds; }
    void optimizeEnd() override;
    void clear();

    int recordEnds = 0;
    std::atomic<int> optimizeEnds{0};
    std::atomic<bool> optimizeEndOnMainThread{false};
};

class Session {
public:
    Session(host::EventPump& pump, Sandbox& sandbox);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Nimbrel_model::Camera& camera() { return *camera_; }
    Nimbrel_model::Config& config() { return *config_; }
    host::EventPump& pump() { return pump_; }
    Sandbox& sandbox() { return sandbox_; }
    Listener& listener() { return listener_; }
    // Whether the configuration marked the camera settings saved before any check ran.
    bool savedAtStart() const { return savedAtStart_; }

    // Opens the camera unless it is open; a failed opening closes it again
    // and says when a stored preset may be the cause.
    Nimbrel_model::Camera& open();
    void close();
    Nimbrel_model::Camera& reopen();
    bool isOpen() const { return open_; }
    // The sensor name and geometry, once the camera opened.
    const std::optional<CameraBaseline>& baseline() const { return baseline_; }

    // A recording the checker may have to stop when interrupted.
    // Starts one with the run's listener: `length` seconds (0: no limit) at
    // `fps`, up to `maxSize` megabytes, replayed at `replayRate` (0: `fps`).
    void startRecording(const std::string& file, double length, double fps, double maxSize = 1000.0,
                        long replayRate = 0);
    void recordingEnded() { recording_ = false; }
    void stopRecording();

    // Puts back what the checks changed: the configuration copy, an open
    // recording, the camera settings; then closes the camera. Never throws:
    // returns the failures it met.
    std::string restore();

private:
    Nimbrel_model::Camera* camera_;
    Nimbrel_model::Config* config_;
    host::EventPump& pump_;
    Sandbox& sandbox_;
    bool open_ = false;
    bool recording_ = false;
    bool savedAtStart_;
    Listener listener_;
    std::optional<CameraBaseline> baseline_;
};

// Throws CheckFailure with `what` unless `ok`.
void expect(bool ok, const std::string& what);

}  // namespace check
