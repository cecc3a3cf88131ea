#include "Recorder.h"

#include "Errors.h"
#include "EventLoop.h"
#include "Format.h"
#include "PlaybackRate.h"
#include "RecordingLoss.h"
#include "RecordingTarget.h"
#include "SharedOptions.h"
#include "WriteProbe.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstring>
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
    namespace bounds = host::options;
    // The bounds of the tools' options: a rate above them gives a frame count
    // that never runs out, or a file the writer refuses after a few frames.
    if (!std::isfinite(request.seconds) || request.seconds > bounds::seconds.range.high)
        throw py::value_error("seconds must be a number up to 86400 (0 or less: no length limit)");
    if (!open_) {
        if (const std::string problem = host::recordingTargetProblem(request.path); !problem.empty())
            throw py::value_error("cannot record there: " + problem);
    }
    Settings settings{};
    settings.fps = request.fps ? *request.fps : camera_.getFrameRate();
    if (!(settings.fps > 0.0 && settings.fps <= bounds::kMaxFps))
        throw py::value_error("fps must be above 0 and up to 1000 (or None: the camera's frame rate)");
    if (request.fps && request.seconds > 0.0 && settings.fps * request.seconds < 1.0)
        throw py::value_error("fps " + host::number(settings.fps) + " takes no frame within " +
                              host::number(request.seconds) + " s: it needs at least " +
                              host::number(1.0 / request.seconds));
    settings.maxSizeMb = request.maxSizeMb.value_or(largestSizeMb);
    if (request.maxSizeMb && !(settings.maxSizeMb >= 0.0 && settings.maxSizeMb <= bounds::maxSize.range.high))
        throw py::value_error("max_size_mb must be from 0 to 1048576 (or None: no limit)");
    settings.replayFps = request.replayFps.value_or(bounds::defaultReplay(settings.fps));
    if (settings.replayFps < 1 || settings.replayFps > static_cast<long>(bounds::kMaxFps))
        throw py::value_error("replay_fps must be a whole number from 1 to 1000 (or None: fps)");
    return settings;
}

void Recorder::start(const RecordingRequest& request, py::object onEnd) {
    const Settings settings = settle(request);
    const int width = camera_.getMaxWidth();
    const int height = camera_.getMaxHeight();
    if (!open_) {
        requireOwnApplicationCurrent();
        const std::string refusal = host::startRefusal(host::roomToStart(request.path, width, height));
        if (!refusal.empty())
            throw host::WriteFailure("recording", request.path, {ENOSPC, std::strerror(ENOSPC) + (": " + refusal)});
        // The module appends the listener once per new recording; keep one copy.
        camera_.removeListener(this);
    }
    try {
        camera_.startRecording(this, request.path, request.seconds, settings.fps, settings.maxSizeMb,
                               settings.replayFps);
    } catch (const Qel::Exception& failure) {
        if (!open_) host::explainWriteFailure("recording", request.path, failure.getMessage().str());
        throw;
    }
    if (!open_) {
        ticks_ = 0;
        failure_ = nullptr;
        path_ = request.path;
        // Replayed at its own rate, a fractional one: the module writes it rounded.
        exactRate_ = request.replayFps ? 0.0 : host::playbackRateRounded(settings.fps) ? settings.fps : 0.0;
        // A guard that stopped the last recording may be on the stack below this call.
        if (guard_ && guard_->tripped()) retired_ = std::move(guard_);
        guard_ = std::make_unique<host::RecordingGuard>(camera_, request.path, width, height, [this] {
            open_ = false;
            const std::string problem = host::stopUntilClosed(camera_);
            finish(std::make_exception_ptr(
                CameraFailure(guard_->stoppedMessage(fps_) +
                              (problem.empty() ? "" : "; the file could not be finished: " + problem))));
        });
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
    host::stopUntilClosedOrThrow(camera_);
    closed();
}

void Recorder::closed() {
    if (exactRate_ > 0.0) host::setPlaybackRate(path_, exactRate_);
    exactRate_ = 0.0;
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
    closed();
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
        // The file is finished with what was written; a stop that failed left
        // it open, and a new one repeats the whole sequence.
        host::stopUntilClosed(camera_);
    }
    closed();
    runPython([this] {
        py::object onEnd = take(onEnd_);
        if (onEnd && !onEnd.is_none()) onEnd(errorObject(failure_));
    });
}

}  // namespace nimbrel_python
