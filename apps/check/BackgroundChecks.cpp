// Work that runs beside the host's calls: the pixel clock optimisation on a
// worker thread, and recordings driven by the event loop.
#include "AviProbe.h"
#include "Checks.h"
#include "EventPump.h"
#include "Sandbox.h"
#include "Session.h"

#include <chrono>
#include <cmath>

namespace check {

namespace {

using Nimbrel_model::Camera;
using namespace std::chrono_literals;

constexpr double kRecordSeconds = 2.0;
constexpr double kRecordFps = 10.0;

void pixelClock(Session& session) {
    Camera& camera = session.open();
    const double before = camera.getFrameRate();
    Listener& listener = session.listener();
    listener.clear();
    session.config().setConfSaved(true);
    camera.optimizeClock(&listener);
    // The new clock and rate are unsaved from the start, whatever the outcome.
    expect(!session.config().getConfSaved(), "optimizeClock left the camera settings marked saved");
    // The search itself gives up after 5 s.
    expect(session.pump().runUntil([&] { return listener.optimizeEnds > 0; }, 20s),
           "optimizeEnd did not come within 20 s");
    expect(!listener.optimizeEndOnMainThread, "optimizeEnd came on the main thread, not on a worker thread");
    const double after = camera.getFrameRate();
    expect(after >= before * 0.999, "frame rate fell from " + show(before) + " to " + show(after) + " fps");
    // The optimisation applies the highest rate at the best clock: asking for more gives no more.
    camera.setFrameRate(after * 2.0);
    const double more = camera.getFrameRate();
    expect(more <= after * 1.01, "after the optimisation the camera runs at " + show(after) + " fps but takes " +
                                     show(more) + " fps when asked");
    session.close();  // the next opening sets the configured pixel clock again
}

void recording(Session& session) {
    Camera& camera = session.open();
    const int width = camera.getWidth(), height = camera.getHeight();
    const std::string file = session.sandbox().folder() + "recording.avi";
    session.startRecording(file, kRecordSeconds, kRecordFps);
    const bool ended = session.pump().runUntil([&] { return session.listener().recordEnds > 0; }, 60s);
    if (!ended) session.stopRecording();
    session.recordingEnded();
    expect(ended, "recordEnd did not come within 60 s");
    const AviFacts facts = probeAvi(file);
    const long wanted = std::lround(kRecordSeconds * kRecordFps);
    expect(facts.frames == wanted || facts.frames == wanted + 1,
           std::to_string(facts.frames) + " frames in the file, expected " + std::to_string(wanted));
    expect(facts.width == width && facts.height == height, "frames of " + std::to_string(facts.width) + " x " +
                                                               std::to_string(facts.height) + ", expected " +
                                                               std::to_string(width) + " x " + std::to_string(height));
}

void closePaused(Session& session) {
    Camera& camera = session.open();
    const std::string file = session.sandbox().folder() + "paused.avi";
    session.startRecording(file, 0.0, kRecordFps);
    session.pump().runFor(500ms);  // a few frames
    camera.pauseRecording();
    session.close();
    expect(camera.getCamHandle() == nullptr, "the camera stayed open");
    session.stopRecording();
    expect(session.listener().recordEnds == 0, "recordEnd came for a recording the host stopped");
    const AviFacts facts = probeAvi(file);
    expect(facts.frames > 0, "the paused recording's file holds no frame");
}

}  // namespace

std::vector<Check> backgroundChecks() {
    return {
        {"pixel-clock",
         "optimisation ends with optimizeEnd on a worker thread at the highest frame rate the camera takes",
         pixelClock},
        {"recording", "a 2 s recording at 10 fps has the expected frame count and size", recording},
        {"close-paused", "closing the camera under a paused recording, then stopping it", closePaused},
    };
}

}  // namespace check
