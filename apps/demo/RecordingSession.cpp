#include "RecordingSession.h"

#include "AviFrameCounter.h"
#include "Format.h"
#include "PlaybackRate.h"
#include "ProgressDisplay.h"
#include "RecordingGuard.h"
#include "RecordingLoss.h"
#include "SharedOptions.h"
#include "StopSignal.h"
#include "TickWatch.h"
#include "WriteProbe.h"

#include <Qel/Qel.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace demo {

using host::AviFrameCounter;
using host::fixed;
using host::megabytes;
using host::number;
using host::StopSignal;

namespace {

using Clock = std::chrono::steady_clock;

// Ticks run late on big sensors and the module counts frames, not wall
// time, so allow far more than the nominal length.
std::chrono::milliseconds endTimeout(double seconds) {
    return std::chrono::milliseconds(static_cast<long long>((seconds * 3.0 + 30.0) * 1000.0));
}

std::uintmax_t fileBytes(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

}  // namespace

RecordingSession::RecordingSession(Nimbrel_model::Camera& camera, host::EventPump& pump, std::ostream& out,
                                   bool terminal)
    : camera_(camera), pump_(pump), out_(out), terminal_(terminal) {}

RecordingSession::~RecordingSession() {
    if (open_) finish();
    camera_.removeListener(&listener_);
}

void RecordingSession::record(const RecordingRequest& request) {
    const std::string path = host::absolutePath(request.path);
    // The module reads the camera's rate itself for -1; the same reading shows here.
    const double fps = request.fps.value_or(camera_.getFrameRate());
    const long replay = request.replayFps.value_or(host::options::defaultReplay(fps));
    const int width = camera_.getMaxWidth();
    const int height = camera_.getMaxHeight();
    if (const std::string refusal = host::startRefusal(host::roomToStart(path, width, height)); !refusal.empty())
        throw host::WriteFailure("recording", path, {ENOSPC, std::strerror(ENOSPC) + (": " + refusal)});
    host::TickWatch ticks(camera_);
    try {
        camera_.startRecording(&listener_, path, request.seconds, request.fps.value_or(-1.0), request.maxSizeMb,
                               replay);
    } catch (const Qel::Exception& failure) {
        host::explainWriteFailure("recording", path, failure.getMessage().str());
        throw;
    }
    open_ = true;
    std::string shortStopProblem;
    host::RecordingGuard guard(camera_, path, width, height, [&] {
        open_ = false;
        shortStopProblem = host::stopUntilClosed(camera_);
    });
    const auto start = Clock::now();
    out_ << "recording " << path << ": "
         << (request.seconds > 0.0 ? number(request.seconds) + " s" : std::string("no length limit")) << " at "
         << number(fps) << " fps, replay " << replay << " fps, size limit " << number(request.maxSizeMb)
         << " MB; Ctrl-C stops it" << std::endl;

    ProgressDisplay display(out_, terminal_, request.seconds);
    AviFrameCounter counter(path);
    auto progressNow = [&] {
        RecordingProgress progress;
        progress.frames = counter.update();
        progress.recordedSeconds = static_cast<double>(progress.frames) / fps;
        progress.elapsedSeconds = secondsSince(start);
        progress.fileBytes = fileBytes(path);
        progress.framesPerSecond = counter.framesPerSecond();
        return progress;
    };
    RecordingRequest used = request;
    used.fps = fps;
    used.replayFps = replay;
    // Replayed at its own rate, a fractional one: the module wrote it rounded.
    const bool exactRate = !request.replayFps && host::playbackRateRounded(fps);
    auto keepRate = [&] {
        if (exactRate) host::setPlaybackRate(path, fps);
    };
    try {
        waitForEnd(
            used,
            [&] {
                if (display.due()) display.show(progressNow());
                if (ticks.stalled(fps)) {
                    const std::string problem = finish();
                    throw std::runtime_error(host::TickWatch::stalledMessage() + "; " + path +
                                             (problem.empty() ? " was closed" : " could not be finished: " + problem));
                }
            },
            [&] { return guard.tripped(); });
    } catch (const Qel::Exception& failure) {
        // A tick failed: the module left the recording paused, its file open.
        const std::string problem = finish();
        display.finish();
        keepRate();
        throw std::runtime_error(
            host::describeLoss(failure.getMessage().str(), host::recordingKept(path, fps), problem));
    }
    const double wallSeconds = secondsSince(start);
    if (guard.tripped()) {
        display.finish();
        keepRate();
        throw std::runtime_error(
            guard.stoppedMessage(fps) +
            (shortStopProblem.empty() ? "" : "; the file could not be finished: " + shortStopProblem));
    }
    // The module closed the file before it told the listener.
    const std::string problem = listener_.ended ? "" : finish();
    open_ = false;
    if (!problem.empty()) {
        display.finish();
        throw std::runtime_error(host::describeLoss("stopping it failed", host::recordingKept(path, fps), problem));
    }
    std::string ending = std::string("stopped by ") + StopSignal::name();
    if (listener_.ended)
        ending = host::toMegabytes(fileBytes(path)) >= std::floor(request.maxSizeMb) ? "ended at its size limit"
                                                                                     : "ended at its length limit";

    if (terminal_) {
        // The bar's final state: the file is complete, and the rate is the
        // whole recording's rather than that of the last flush.
        RecordingProgress last = progressNow();
        last.framesPerSecond = static_cast<double>(last.frames) / wallSeconds;
        display.show(last);
    }
    display.finish();

    keepRate();
    std::uint64_t frames = host::declaredFrameCount(path);
    if (frames == 0) frames = counter.update();
    printSummary(used, path, ending, frames, wallSeconds, exactRate ? fps : static_cast<double>(replay));
    if (frames == 0 && listener_.ended)
        throw std::runtime_error("the recording " + ending + " before its first frame: " + path + " holds no frame");
}

void RecordingSession::waitForEnd(const RecordingRequest& request, const host::EventPump::Action& eachTurn,
                                  const std::function<bool()>& stopped) {
    auto over = [&] { return listener_.ended || stopped() || StopSignal::raised(); };
    if (request.seconds <= 0.0) {
        pump_.runUntil(over, eachTurn);  // the user or the size limit ends it
        return;
    }
    const auto timeout = endTimeout(request.seconds);
    if (pump_.runUntil(over, timeout, eachTurn)) return;
    open_ = false;
    const std::string problem = finish();
    throw std::runtime_error("the recording did not end within " +
                             number(std::chrono::duration<double>(timeout).count()) + " s; it was stopped and " +
                             host::absolutePath(request.path) +
                             (problem.empty() ? " closed" : " could not be finished: " + problem));
}

std::string RecordingSession::finish() {
    open_ = false;
    // The module keeps the AVI instance after a failed stop, so a new stop
    // repeats the whole sequence once the loop has run.
    return host::stopUntilClosed(camera_, [this] { pump_.runFor(std::chrono::milliseconds(100)); });
}

void RecordingSession::printSummary(const RecordingRequest& request, const std::string& path, const std::string& ending,
                                    std::uint64_t frames, double wallSeconds, double playFps) const {
    const std::uintmax_t bytes = fileBytes(path);
    const double fps = *request.fps;
    out_ << "recording " << ending << "\n"
         << "  file:        " << path << "\n"
         << "  frames:      " << frames;
    if (request.seconds > 0.0) {
        const std::uint64_t full = host::framesForLength(request.seconds, fps);
        out_ << " (" << number(request.seconds) << " s at " << number(fps) << " fps holds " << full << " or "
             << full + 1 << ": the length is counted down in steps of 1/" << number(fps) << " s)";
    }
    out_ << "\n"
         << "  size:        " << megabytes(bytes) << " (" << bytes << " bytes)\n"
         << "  video:       " << fixed(static_cast<double>(frames) / fps, 1) << " s at " << number(fps)
         << " fps, plays at " << number(playFps) << " fps\n"
         << "  wall time:   " << fixed(wallSeconds, 1) << " s, "
         << fixed(wallSeconds > 0.0 ? static_cast<double>(frames) / wallSeconds : 0.0, 1)
         << " frames per second achieved" << std::endl;
}

}  // namespace demo
