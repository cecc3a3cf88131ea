#include "RecordingSession.h"

#include "AviFrameCounter.h"
#include "Format.h"
#include "ProgressDisplay.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace demo {

using hosts::AviFrameCounter;
using hosts::declaredFrameCount;

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

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

RecordingSession::RecordingSession(Nimbrel_model::Camera& camera, EventPump& pump, const StopSignal& stop,
                                   std::ostream& out, bool terminal)
    : camera_(camera), pump_(pump), stop_(stop), out_(out), terminal_(terminal) {}

RecordingSession::~RecordingSession() {
    if (open_) {
        try {
            camera_.stopRecording();
        } catch (...) {
        }
    }
    camera_.removeListener(&listener_);
}

void RecordingSession::record(const RecordingRequest& request) {
    const std::string path = absolutePath(request.path);
    camera_.startRecording(&listener_, path, request.seconds, request.fps, request.maxSizeMb, request.replayFps);
    open_ = true;
    const auto start = Clock::now();
    out_ << "recording " << path << ": "
         << (request.seconds > 0.0 ? number(request.seconds) + " s" : std::string("no length limit")) << " at "
         << number(request.fps) << " fps, replay " << request.replayFps << " fps, size limit "
         << number(request.maxSizeMb) << " MB; Ctrl-C stops it" << std::endl;

    ProgressDisplay display(out_, terminal_, request.seconds);
    AviFrameCounter counter(path);
    auto progressNow = [&] {
        RecordingProgress progress;
        progress.frames = counter.update();
        progress.recordedSeconds = static_cast<double>(progress.frames) / request.fps;
        progress.elapsedSeconds = secondsSince(start);
        progress.fileBytes = fileBytes(path);
        progress.framesPerSecond = counter.framesPerSecond();
        return progress;
    };
    waitForEnd(request, [&] {
        if (display.due()) display.show(progressNow());
    });
    const double wallSeconds = secondsSince(start);
    const std::string ending = close(request, path);

    if (terminal_) {
        // The bar's final state: the file is complete, and the rate is the
        // whole recording's rather than that of the last flush.
        RecordingProgress last = progressNow();
        last.framesPerSecond = static_cast<double>(last.frames) / wallSeconds;
        display.show(last);
    }
    display.finish();

    std::uint64_t frames = declaredFrameCount(path);
    if (frames == 0) frames = counter.update();
    printSummary(request, path, ending, frames, wallSeconds);
}

void RecordingSession::waitForEnd(const RecordingRequest& request, const EventPump::Action& eachTurn) {
    auto over = [&] { return listener_.ended || stop_.raised(); };
    if (request.seconds <= 0.0) {
        pump_.runUntil(over, eachTurn);  // the user or the size limit ends it
        return;
    }
    const auto timeout = endTimeout(request.seconds);
    if (pump_.runUntil(over, timeout, eachTurn)) return;
    open_ = false;
    camera_.stopRecording();
    throw std::runtime_error("the recording did not end within " +
                             number(std::chrono::duration<double>(timeout).count()) + " s; it was stopped and " +
                             absolutePath(request.path) + " closed");
}

std::string RecordingSession::close(const RecordingRequest& request, const std::string& path) {
    open_ = false;
    if (listener_.ended) {
        // The module closed the file before it told us.
        return toMegabytes(fileBytes(path)) >= std::floor(request.maxSizeMb) ? "ended at its size limit"
                                                                              : "ended at its length limit";
    }
    camera_.stopRecording();
    return std::string("stopped by ") + stop_.name();
}

void RecordingSession::printSummary(const RecordingRequest& request, const std::string& path,
                                    const std::string& ending, std::uint64_t frames, double wallSeconds) const {
    const std::uintmax_t bytes = fileBytes(path);
    out_ << "recording " << ending << "\n"
         << "  file:        " << path << "\n"
         << "  frames:      " << frames;
    if (request.seconds > 0.0)
        out_ << " (the full " << number(request.seconds) << " s at " << number(request.fps) << " fps is "
             << std::llround(request.seconds * request.fps) << ")";
    out_ << "\n"
         << "  size:        " << megabytes(bytes) << " (" << bytes << " bytes)\n"
         << "  video:       " << fixed(static_cast<double>(frames) / request.fps, 1) << " s at "
         << number(request.fps) << " fps, plays at " << request.replayFps << " fps\n"
         << "  wall time:   " << fixed(wallSeconds, 1) << " s, "
         << fixed(wallSeconds > 0.0 ? static_cast<double>(frames) / wallSeconds : 0.0, 1)
         << " frames per second achieved" << std::endl;
}

}  // namespace demo
