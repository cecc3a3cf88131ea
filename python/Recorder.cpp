#include "Recorder.h"

#include "Errors.h"
#include "EventLoop.h"
#include "WriteProbe.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <utility>

namespace nimbrel_python {

namespace {

// The largest size limit the module takes: its limit is a 32-bit count of
// megabytes.
constexpr double largestSizeMb = static_cast<double>(INT_MAX);
constexpr double progressPeriodSeconds = 0.1;

// Ticks run late on big sensors, and the module counts frames, not wall
// time: allow far more than the nominal length before giving up.
double endTimeout(double seconds) { return seconds * 3.0 + 30.0; }

py::object take(py::object& slot) {
    py::object taken = std::move(slot);
    slot = py::object();
    return taken;
}

}  // namespace

Recorder::Recorder(Nimbrel_model::Camera& camera) : camera_(camera) { wxEvtHandler::AddFilter(this); }

Recorder::~Recorder() {
    wxEvtHandler::RemoveFilter(this);
    camera_.removeListener(this);
}

Recorder::Settings Recorder::settle(const RecordingRequest& request) const {
    if (!std::isfinite(request.seconds)) throw py::value_error("seconds must be a finite number");
    Settings settings{};
    settings.fps = request.fps ? *request.fps : camera_.getFrameRate();
    if (!(settings.fps > 0.0) || !std::isfinite(settings.fps))
        throw py::value_error("fps must be above 0 (or None: the camera's frame rate)");
    settings.maxSizeMb = request.maxSizeMb.value_or(largestSizeMb);
    if (!(settings.maxSizeMb >= 0.0 && settings.maxSizeMb <= largestSizeMb))
        throw py::value_error("max_size_mb must be from 0 to 2147483647 (or None: no limit)");
    settings.replayFps = request.replayFps.value_or(std::max(1L, std::lround(settings.fps)));
    if (settings.replayFps < 1) throw py::value_error("replay_fps must be at least 1");
    return settings;
}

void Recorder::start(const RecordingRequest& request, py::object onEnd) {
    const Settings settings = settle(request);
    // The module appends the listener once per new recording; keep one copy.
    if (!open_) camera_.removeListener(this);
    try {
        camera_.startRecording(this, request.path, request.seconds, settings.fps, settings.maxSizeMb,
                               settings.replayFps);
    } catch (const Qel::Exception& failure) {
        if (!open_) host::explainWriteFailure("recording", request.path, failure.getMessage().str());
        throw;
    }
    if (!open_) {
        path_ = request.path;
        ticks_ = 0;
        failure_ = nullptr;
    }
    open_ = true;
    fps_ = settings.fps;
    seconds_ = request.seconds;
    onEnd_ = std::move(onEnd);
}

void Recorder::pause() { camera_.pauseRecording(); }

void Recorder::stop() {
    if (!open_) return;
    open_ = false;  // the module counts it as closed even when closing fails
    camera_.stopRecording();
}

double Recorder::recordedSeconds() const {
    const double recorded = static_cast<double>(ticks_) / fps_;
    return seconds_ > 0.0 ? std::min(recorded, seconds_) : recorded;
}

void Recorder::record(const RecordingRequest& request, const py::object& progress) {
    if (open_) raiseCameraError("a recording is open: stop_recording() first");
    if (!(request.seconds > 0.0)) throw py::value_error("record() needs seconds above 0; start_recording() takes none");
    start(request, py::none());
    auto report = [&] {
        if (!progress.is_none()) progress(recordedSeconds(), request.seconds);
    };
    auto nextReport = std::chrono::steady_clock::now();
    try {
        // A loop that never dispatches the camera's timer would wait until the timeout: say so after 2 s.
        long ticksSeen = ticks_;
        auto lastTick = std::chrono::steady_clock::now();
        const auto tickless = std::chrono::duration<double>(2.0 + 1.0 / fps_);
        const bool ended = pumpUntil([this] { return !open_; }, endTimeout(request.seconds),
                                     [&] {
                                         const auto now = std::chrono::steady_clock::now();
                                         if (ticks_ != ticksSeen) {
                                             ticksSeen = ticks_;
                                             lastTick = now;
                                         } else if (now - lastTick > tickless) {
                                             stop();
                                             raiseCameraError(
                                                 "the recording has had no tick for 2 s: the event loop does not "
                                                 "run the camera's timer; its file was closed");
                                         }
                                         if (now < nextReport) return;
                                         nextReport =
                                             now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                       std::chrono::duration<double>(progressPeriodSeconds));
                                         report();
                                     });
        if (!ended) {
            stop();
            raiseCameraError("the recording did not end within " + std::to_string(endTimeout(request.seconds)) +
                             " s: it was stopped and its file closed");
        }
    } catch (...) {
        // Ctrl-C, or progress raised: the file is finished before the
        // exception goes on.
        try {
            stop();
        } catch (...) {
        }
        throw;
    }
    if (failure_) raiseObject(errorObject(failure_));
    report();
}

void Recorder::recordEnd() {
    open_ = false;
    runPython([this] {
        py::object onEnd = take(onEnd_);
        if (onEnd && !onEnd.is_none()) onEnd(py::none());
    });
}

int Recorder::FilterEvent(wxEvent& event) {
    if (event.GetEventType() != wxEVT_TIMER || event.GetEventObject() != &camera_) return Event_Skip;
    if (open_) ++ticks_;
    ++ticking_;
    try {
        camera_.ProcessEventLocally(event);
    } catch (...) {
        finish(std::current_exception());
    }
    --ticking_;
    if (ticking_ == 0 && afterTick_) std::exchange(afterTick_, nullptr)();
    return Event_Processed;
}

void Recorder::finish(const std::exception_ptr& failure) {
    failure_ = failure;
    try {  // a frame the file could not take: say why
        std::rethrow_exception(failure);
    } catch (const Qel::Exception& qel) {
        try {
            host::explainWriteFailure("recording", path_, qel.getMessage().str());
        } catch (...) {
            failure_ = std::current_exception();
        }
    } catch (...) {
    }
    if (open_) {
        open_ = false;
        try {
            camera_.stopRecording();  // the file is finished with what was written
        } catch (...) {
        }
    }
    runPython([this] {
        py::object onEnd = take(onEnd_);
        if (onEnd && !onEnd.is_none()) onEnd(errorObject(failure_));
    });
}

}  // namespace nimbrel_python
