// The live picture and the automatic white balance.
#include "Checks.h"
#include "EventPump.h"
#include "LivePicture.h"
#include "Session.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace check {

namespace {

using Nimbrel_model::Camera;
using namespace std::chrono_literals;

// A copy of the current picture: the full sensor at 3 bytes a pixel.
std::vector<unsigned char> takePicture(const Camera& camera) {
    const host::LivePicture picture(camera);
    expect(picture.pixels() != nullptr, "getActiveImage gave no picture");
    return {picture.pixels(), picture.pixels() + picture.bytes()};
}

void livePicture(Session& session) {
    Camera& camera = session.open();
    const std::vector<unsigned char> first = takePicture(camera);
    expect(std::any_of(first.begin(), first.end(), [&](unsigned char v) { return v != first.front(); }),
           "the picture is one flat value (lens covered, or exposure far off?)");
    const bool changed = session.pump().runUntil(
        [&] {
            std::this_thread::sleep_for(50ms);  // no need to copy a whole picture every turn
            return takePicture(camera) != first;
        },
        5s);
    expect(changed, "the picture did not change within 5 s (a still scene with no noise, or capture stopped?)");
}

void whiteBalance(Session& session) {
    Camera& camera = session.open();
    if (!camera.isColor()) throw CheckSkipped("monochrome sensor");
    const int r = wholeGain(camera.getRedGain()), g = wholeGain(camera.getGreenGain()),
              b = wholeGain(camera.getBlueGain()), m = wholeGain(camera.getGain());
    const bool wasAuto = camera.isGainAuto();
    const auto gains = [&] {
        return std::to_string(std::lround(camera.getRedGain())) + "/" +
               std::to_string(std::lround(camera.getGreenGain())) + "/" +
               std::to_string(std::lround(camera.getBlueGain()));
    };
    withUndo(
        [&] {
            // Far from balanced, so that a white balance that runs moves the gains.
            camera.setAutoGain(false);
            camera.setGain(m, 60, 0, 0);
            const std::string unbalanced = gains();
            camera.doWhiteBalance();
            const bool moved = session.pump().runUntil([&] { return gains() != unbalanced; }, 3s);
            camera.stopWhiteBalance();
            expect(moved, "the colour gains stayed at " + unbalanced + " (red/green/blue) for 3 s of white balance");
            session.pump().runFor(100ms);  // a step begun before the stop
            const std::string stopped = gains();
            session.pump().runFor(300ms);  // a few pictures
            expect(gains() == stopped,
                   "the colour gains went on moving after stopWhiteBalance: " + stopped + ", then " + gains());
        },
        [&] {
            camera.stopWhiteBalance();
            camera.setGain(m, r, g, b);
            camera.setAutoGain(wasAuto);
        });
}

}  // namespace

std::vector<Check> pictureChecks() {
    return {
        {"live-picture", "the live picture has the sensor's size and changes between pictures", livePicture},
        {"white-balance", "automatic white balance moves unbalanced colour gains, and stops", whiteBalance},
    };
}

}  // namespace check
