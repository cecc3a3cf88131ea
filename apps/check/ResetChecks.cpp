// resetUserSettings while an optimisation runs: the reset waits for the
// optimisation, which has ended when the reset returns, and leaves a camera
// that captures.
#include "CameraBaseline.h"
#include "Checks.h"
#include "EventPump.h"
#include "LivePicture.h"
#include "Sandbox.h"
#include "Session.h"
#include "Watchdog.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <vector>

namespace check {

namespace {

using Nimbrel_model::Camera;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// When the optimisation ended. One for the whole run: the worker keeps a
// bare pointer to it and may call it after the check gave up.
class EndListener : public Nimbrel_model::CameraListener {
public:
    void optimizeEnd() override {
        endedAt = Clock::now().time_since_epoch().count();
        ++ends;
    }
    Clock::time_point ended() const { return Clock::time_point(Clock::duration(endedAt.load())); }

    std::atomic<int> ends{0};
    std::atomic<Clock::rep> endedAt{0};
};

EndListener& endListener() {
    static EndListener listener;
    return listener;
}

std::vector<unsigned char> copyOf(const Camera& camera) {
    const host::LivePicture picture(camera);
    expect(picture.ok(), "getActiveImage gave no picture");
    return {picture.pixels(), picture.pixels() + static_cast<std::size_t>(picture.pitch()) * picture.height()};
}

void optimizationReset(Session& session) {
    Camera& camera = session.open();
    const Clock::time_point opening = Clock::now();
    session.reopen();
    const double openSeconds = secondsBetween(opening, Clock::now());  // the reset opens the camera again
    const std::string name = camera.getName().str();

    EndListener& listener = endListener();
    listener.ends = 0;
    withUndo(
        [&] {
            camera.optimizeClock(&listener);
            const Clock::time_point called = Clock::now();
            doing([called] {
                const EndListener& l = endListener();
                return "resetUserSettings, called while an optimisation ran, has not returned; optimizeEnd " +
                       (l.ends ? "came " + show(secondsBetween(called, l.ended())) + " s after the call"
                               : std::string("has not come"));
            });
            camera.resetUserSettings();
            const Clock::time_point returned = Clock::now();
            doing(std::string());
            expect(listener.ends == 1,
                   "resetUserSettings returned while the optimisation still ran (optimizeEnd "
                   "had not come)");
            const double late = secondsBetween(listener.ended(), returned);
            expect(late <= 2.0 + 3.0 * openSeconds, "resetUserSettings returned " + show(late) +
                                                        " s after the optimisation ended; opening the camera "
                                                        "takes " +
                                                        show(openSeconds) + " s");
            expect(camera.getCamHandle() != nullptr && camera.getName().str() == name,
                   "after the reset the camera is not open as " + name);
            expect(session.config().getConfSaved() && !session.config().isUserDefined(camera.getName()),
                   "after the reset the settings are not marked saved, or a preset is left");
            const std::vector<unsigned char> first = copyOf(camera);
            expect(session.pump().runUntil([&] { return copyOf(camera) != first; }, 5s),
                   "after the reset the picture did not change within 5 s: capture does not run");
        },
        [&] { session.sandbox().resetCopy(); });
}

// The highest frame rate the camera takes now: it clamps what is asked.
double highestRate(Camera& camera) {
    const double rate = camera.getFrameRate();
    camera.setFrameRate(rate * 4.0);
    const double highest = camera.getFrameRate();
    camera.setFrameRate(rate);
    return highest;
}

// setDefaults on a camera whose settings the host changed puts it back as an
// opening does: the same values, the configured pixel clock (seen as the same
// highest frame rate), white balance off, and capture going on.
void setupAgain(Session& session) {
    Camera& camera = session.open();
    const CameraBaseline opened = CameraBaseline::read(session.reopen());
    const double openedHighest = highestRate(camera);
    EndListener& listener = endListener();
    listener.ends = 0;
    camera.optimizeClock(&listener);
    expect(session.pump().runUntil([&] { return listener.ends > 0; }, 20s), "optimizeEnd did not come within 20 s");
    // One step short of the sensor sits at offset 0, 0, where the set-up's
    // full-size area fits again: a centred smaller area would not.
    camera.setAOI(camera.getMaxWidth() - 1, camera.getMaxHeight() - 1);
    camera.setFrameRate(opened.frameRate / 2.0);
    camera.setExposure(opened.exposure / 2.0);
    camera.setGain(opened.gain + 7, opened.redGain + 5, opened.greenGain + 3, opened.blueGain + 9);
    camera.setBrightness(opened.brightness + 11);
    if (camera.isColor()) camera.doWhiteBalance();

    camera.setDefaults();
    CameraBaseline again = CameraBaseline::read(camera);
    // The set-up asks for the camera's default rate before it sets the
    // configured clock: from the faster clock the optimisation left it gets
    // at least the rate of an opening.
    expect(again.frameRate >= opened.frameRate * 0.99, "after setDefaults on a changed camera the frame rate is " +
                                                           show(again.frameRate) + ", after an opening " +
                                                           show(opened.frameRate));
    again.frameRate = opened.frameRate;
    const std::string wrong = differences(again, opened);
    expect(wrong.empty(), "after setDefaults on a changed camera: " + wrong);
    const double highest = highestRate(camera);
    expect(near(highest, openedHighest, 0.01, 0.01), "after setDefaults the camera takes up to " + show(highest) +
                                                         " fps, after an opening " + show(openedHighest) + " fps");
    if (camera.isColor()) {
        const CameraBaseline now = CameraBaseline::read(camera);
        session.pump().runFor(300ms);
        const CameraBaseline later = CameraBaseline::read(camera);
        expect(now.redGain == later.redGain && now.greenGain == later.greenGain && now.blueGain == later.blueGain,
               "after setDefaults the white balance still moves the colour gains");
    }
    const std::vector<unsigned char> first = copyOf(camera);
    expect(session.pump().runUntil([&] { return copyOf(camera) != first; }, 5s),
           "after setDefaults the picture did not change within 5 s: capture does not run");
}

}  // namespace

std::vector<Check> resetChecks() {
    return {
        {"optimisation-reset",
         "resetUserSettings during an optimisation waits for it and leaves a camera that captures", optimizationReset},
        {"setup-again", "setDefaults on a changed camera puts it back as an opening does, and capture goes on",
         setupAgain},
    };
}

}  // namespace check
