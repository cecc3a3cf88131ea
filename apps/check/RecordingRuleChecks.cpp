// The rules a recording follows, seen from the files it leaves: a new
// recording replaces a file of the same name, a resumed one counts its new
// length from the frames already written, the size limit ends one with
// recordEnd and no frame past the limit, and each registration of a
// listener hears one recordEnd.
#include "AviFrames.h"
#include "AviProbe.h"
#include "Checks.h"
#include "EventPump.h"
#include "Sandbox.h"
#include "Session.h"
#include "Watchdog.h"

#include <Qel/Qel.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace check {

namespace {

using Nimbrel_model::Camera;
using namespace std::chrono_literals;

// A sixteenth of a second is exact in binary: lengths in sixteenths give an
// exact number of frames, so a frame more or less is a fault.
constexpr double kRate = 16.0;
constexpr long kReplayRate = 12;  // unlike kRate, so the file shows which one it got
constexpr double kSizeLimitMegabytes = 1.0;
constexpr std::uint64_t kMegabyte = 1024 * 1024ULL;

double sixteenths(int n) { return n / kRate; }

// A recording of the run's listener, registered once: every recording
// before it registered it too, and each registration hears its own recordEnd.
void startOnce(Session& session, const std::string& file, double length, double fps = kRate, double maxSize = 1000.0) {
    session.camera().removeListener(&session.listener());
    session.startRecording(file, length, fps, maxSize, kReplayRate);
}

// A frame the module could not write pauses the recording until the host
// resumes or stops it: nothing more may come of it meanwhile, not another
// frame's failure, not a recordEnd.
void expectPausedAfter(Session& session, const Qel::Exception& failure) {
    doing("holding a recording whose frame failed");
    const int ends = session.listener().recordEnds;
    std::string after;
    try {
        session.pump().runFor(500ms);
    } catch (const Qel::Exception& again) {
        after = ", then " + again.getMessage().str();
    }
    if (session.listener().recordEnds != ends) after += ", then recordEnd came: the recording went on without the host";
    if (!after.empty()) throw CheckFailure(failure.getMessage().str() + after);
}

// Waits for the recording to end by itself and for every recordEnd.
void awaitEnd(Session& session, std::chrono::milliseconds timeout, int recordEnds = 1) {
    doing("waiting for the recording to end by itself");
    bool ended = false;
    try {
        ended = session.pump().runUntil([&] { return session.listener().recordEnds > 0; }, timeout);
    } catch (const Qel::Exception& failure) {
        expectPausedAfter(session, failure);
        throw;
    }
    if (!ended) session.stopRecording();
    session.recordingEnded();
    expect(ended, "recordEnd did not come within " + show(static_cast<double>(timeout.count()) / 1000.0) + " s");
    expect(session.listener().recordEnds == recordEnds, "recordEnd came " +
                                                            std::to_string(session.listener().recordEnds) +
                                                            " times, expected " + std::to_string(recordEnds));
}

void expectFrames(const std::string& path, long wanted, const std::string& what) {
    const AviFacts facts = probeAvi(path);
    expect(facts.frames == wanted,
           what + ": " + std::to_string(facts.frames) + " frames in the file, expected " + std::to_string(wanted));
    expect(std::fabs(facts.frameRate - kReplayRate) < 0.01, what + ": the file replays at " + show(facts.frameRate) +
                                                                " frames per second, " + std::to_string(kReplayRate) +
                                                                " asked");
}

void recordingReplace(Session& session) {
    session.open();
    const std::string file = session.sandbox().folder() + "replace.avi";
    const std::string first = session.sandbox().folder() + "replace-first.avi";
    startOnce(session, file, sixteenths(4));
    awaitEnd(session, 10s);
    expectFrames(file, 4, "the first recording");
    // A second name for the first file: a recording that deletes the old
    // file leaves it intact under that name, one that writes into it does not.
    const bool linked = ::link(file.c_str(), first.c_str()) == 0;
    startOnce(session, file, sixteenths(6));
    awaitEnd(session, 10s);
    expectFrames(file, 6, "the second recording to the same name");
    if (!linked) return;
    struct stat now {
    }, old{};
    expect(::stat(file.c_str(), &now) == 0 && ::stat(first.c_str(), &old) == 0 && now.st_ino != old.st_ino,
           "the second recording wrote into the first one's file instead of replacing it");
    expectFrames(first, 4, "the first recording, after the second replaced it");
}

// Paused after a few frames and resumed with `resumed` sixteenths: the
// recording holds exactly that many frames, however many came before the
// pause. The pause lasts longer than the whole recording would have.
void pausedAndResumed(Session& session, const std::string& name, int started, int resumed) {
    const std::string file = session.sandbox().folder() + name;
    startOnce(session, file, sixteenths(started));
    session.pump().runFor(150ms);  // two or three frames
    session.camera().pauseRecording();
    doing("holding a recording paused");
    session.pump().runFor(std::chrono::milliseconds(std::lround(sixteenths(started) * 1000.0)) + 100ms);
    expect(session.listener().recordEnds == 0, "recordEnd came while the recording was paused");
    session.startRecording(file, sixteenths(resumed), kRate, 1000.0, kReplayRate);
    awaitEnd(session, 10s);
    expectFrames(
        file, resumed,
        "started with " + show(sixteenths(started)) + " s, paused, resumed with " + show(sixteenths(resumed)) + " s");
}

void recordingResume(Session& session) {
    session.open();
    pausedAndResumed(session, "longer.avi", 8, 12);
    pausedAndResumed(session, "shorter.avi", 12, 6);
}

void recordingSizeLimit(Session& session) {
    Camera& camera = session.open();
    // A short recording tells how big a frame of this scene is, so that the
    // limit comes after a few frames at any resolution.
    const std::string probe = session.sandbox().folder() + "frame-size.avi";
    startOnce(session, probe, sixteenths(2));
    awaitEnd(session, 10s);
    const std::vector<std::uint64_t> probeEnds = aviFrameEnds(probe);
    expect(probeEnds.size() == 2, std::to_string(probeEnds.size()) + " frames in a recording of 2, expected 2");
    const double frameBytes = static_cast<double>(std::max<std::uint64_t>(probeEnds[1] - probeEnds[0], 1));
    const double framesToLimit = kSizeLimitMegabytes * kMegabyte / frameBytes;
    const double fps = std::clamp(framesToLimit / 2.0, 4.0, std::max(4.0, camera.getFrameRate()));
    const auto timeout = std::chrono::milliseconds(std::lround(10000.0 + 3000.0 * framesToLimit / fps));

    const std::string file = session.sandbox().folder() + "size-limit.avi";
    startOnce(session, file, 0.0, fps, kSizeLimitMegabytes);
    awaitEnd(session, timeout);
    const std::vector<std::uint64_t> ends = aviFrameEnds(file);
    const auto limit = static_cast<std::uint64_t>(kSizeLimitMegabytes * kMegabyte);
    // The size is tested before each frame: the last frame starts below the
    // limit and ends at or past it. The slack allows for a library that
    // counts its index or its buffers in the size.
    const std::uint64_t slack = 64 * 1024ULL;
    expect(!ends.empty() && ends.back() + slack >= limit,
           "the recording ended at " + std::to_string(ends.empty() ? 0 : ends.back()) +
               " bytes of frames, before the " + std::to_string(limit) + "-byte limit");
    if (ends.size() >= 2)
        expect(ends[ends.size() - 2] < limit + slack,
               "frame " + std::to_string(ends.size()) + " was written after the file had reached the limit (" +
                   std::to_string(ends[ends.size() - 2]) + " bytes of " + std::to_string(limit) + ")");

    // Registered twice and never removed: two recordEnds at the next end.
    session.startRecording(session.sandbox().folder() + "twice.avi", sixteenths(2), kRate, 1000.0, kReplayRate);
    awaitEnd(session, 10s, 2);
}

}  // namespace

std::vector<Check> recordingRuleChecks() {
    return {
        {"recording-replace", "a recording to an existing file's name replaces that file", recordingReplace},
        {"recording-resume", "a paused recording resumed with a longer or a shorter length holds that many frames",
         recordingResume},
        {"recording-size-limit", "the size limit ends a recording with recordEnd and no frame past the limit",
         recordingSizeLimit},
    };
}

}  // namespace check
