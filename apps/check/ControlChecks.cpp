// Each control set inside its range and read back within the camera's
// rounding, then put back; the area of interest aligned and centred.
#include "Checks.h"
#include "Session.h"

#include <cmath>

namespace check {

namespace {

using Nimbrel_model::Camera;

// A value inside the usual range that differs from the current one.
int other(double current, int wanted) { return std::lround(current) == wanted ? wanted + 10 : wanted; }

// The offset is half the room left, rounded down to a step.
void expectCentred(int offset, int room, const std::string& which) {
    expect(offset >= 0 && offset <= room / 2 && room / 2 - offset < kLargestStep,
           which + " " + std::to_string(offset) + ", centred would be " + std::to_string(room / 2));
}

void gains(Session& session) {
    Camera& camera = session.open();
    const bool wasAuto = camera.isGainAuto();
    const int m = wholeGain(camera.getGain()), r = wholeGain(camera.getRedGain()), g = wholeGain(camera.getGreenGain()),
              b = wholeGain(camera.getBlueGain());
    const int master = other(m, 20), red = other(r, 15), green = other(g, 10), blue = other(b, 25);
    withUndo(
        [&] {
            camera.setAutoGain(false);
            camera.setGain(master, red, green, blue);
            const auto expectGain = [](double actual, int wanted, const char* which) {
                expect(std::fabs(actual - wanted) <= 1.0,
                       std::string(which) + " gain " + show(actual) + " read back, " + std::to_string(wanted) + " set");
            };
            expectGain(camera.getGain(), master, "master");
            if (!camera.isColor()) return;
            expectGain(camera.getRedGain(), red, "red");
            expectGain(camera.getGreenGain(), green, "green");
            expectGain(camera.getBlueGain(), blue, "blue");
        },
        [&] {
            camera.setGain(m, r, g, b);
            camera.setAutoGain(wasAuto);
        });
}

void autoGain(Session& session) {
    Camera& camera = session.open();
    const bool wasAuto = camera.isGainAuto();
    const int m = wholeGain(camera.getGain()), r = wholeGain(camera.getRedGain()), g = wholeGain(camera.getGreenGain()),
              b = wholeGain(camera.getBlueGain());
    withUndo(
        [&] {
            for (const bool on : {!wasAuto, wasAuto}) {
                camera.setAutoGain(on);
                expect(camera.isGainAuto() == on, std::string("automatic gain still ") + (on ? "off" : "on"));
            }
        },
        [&] {
            camera.setAutoGain(false);
            camera.setGain(m, r, g, b);
            camera.setAutoGain(wasAuto);
        });
}

void brightness(Session& session) {
    Camera& camera = session.open();
    const int before = camera.getBrightness();
    const int wanted = other(before, 100);
    withUndo(
        [&] {
            camera.setBrightness(wanted);
            expect(camera.getBrightness() == wanted, "brightness " + std::to_string(camera.getBrightness()) +
                                                         " read back, " + std::to_string(wanted) + " set");
        },
        [&] { camera.setBrightness(before); });
}

void exposure(Session& session) {
    Camera& camera = session.open();
    const double before = camera.getExposure();
    const double frameTime = 1000.0 / camera.getFrameRate();
    double wanted = std::round(frameTime * 50.0) / 100.0;  // half the frame time
    if (near(before, wanted, 0.1, 0.0)) wanted = std::round(frameTime * 25.0) / 100.0;
    withUndo(
        [&] {
            camera.setExposure(wanted);
            const double actual = camera.getExposure();
            expect(near(actual, wanted, 0.05, 0.05),
                   "exposure " + show(actual) + " ms read back, " + show(wanted) + " ms set");
        },
        [&] { camera.setExposure(before); });
}

void frameRate(Session& session) {
    Camera& camera = session.open();
    const double before = camera.getFrameRate();
    const double exposureBefore = camera.getExposure();
    const double wanted = before >= 2.0 ? std::floor(before / 2.0) : before * 0.75;
    withUndo(
        [&] {
            camera.setFrameRate(wanted);
            const double actual = camera.getFrameRate();
            expect(near(actual, wanted, 0.05, 0.01),
                   "frame rate " + show(actual) + " read back, " + show(wanted) + " set");
        },
        [&] {
            camera.setFrameRate(before);
            camera.setExposure(exposureBefore);
        });
}

void area(Session& session) {
    Camera& camera = session.open();
    const int maxWidth = camera.getMaxWidth(), maxHeight = camera.getMaxHeight();
    const int width = camera.getWidth(), height = camera.getHeight();
    const double fps = camera.getFrameRate(), exposure = camera.getExposure();
    const auto setAndExpect = [&](int wantedWidth, int wantedHeight) {
        camera.setAOI(wantedWidth, wantedHeight);
        const int w = camera.getWidth(), h = camera.getHeight();
        expectAlignedSize(w, wantedWidth, "width");
        expectAlignedSize(h, wantedHeight, "height");
        expectCentred(camera.getPosX(), maxWidth - w, "horizontal offset");
        expectCentred(camera.getPosY(), maxHeight - h, "vertical offset");
        expect(near(camera.getFrameRate(), fps, 0.01, 0.01),
               "frame rate " + show(camera.getFrameRate()) + " after the change, " + show(fps) + " before");
        expect(near(camera.getExposure(), exposure, 0.01, 0.01),
               "exposure " + show(camera.getExposure()) + " ms after the change, " + show(exposure) + " ms before");
    };
    withUndo(
        [&] {
            // One step short of the sensor leaves half a step to centre in: the
            // offset must still be rounded down to a whole step.
            setAndExpect(maxWidth - 1, maxHeight - 1);
            setAndExpect(maxWidth / 2 + 1, maxHeight / 2 + 1);
            const int w = camera.getWidth(), h = camera.getHeight(), x = camera.getPosX(), y = camera.getPosY();
            camera.setAOI(w, h);  // an aligned size stays as it is
            expect(camera.getWidth() == w && camera.getHeight() == h && camera.getPosX() == x && camera.getPosY() == y,
                   "setting the aligned area " + std::to_string(w) + " x " + std::to_string(h) + " again moved it");
            // Grown back from a centred area: the larger size does not fit at
            // the old offset, so the module must move the area before sizing it.
            setAndExpect(maxWidth - 1, maxHeight - 1);
            camera.setDefaultAOI();
            expect(camera.getWidth() == maxWidth && camera.getHeight() == maxHeight && camera.getPosX() == 0 &&
                       camera.getPosY() == 0,
                   "setDefaultAOI did not give back the full sensor");
        },
        [&] {
            if (width == maxWidth && height == maxHeight)
                camera.setDefaultAOI();
            else
                camera.setAOI(width, height);
        });
}

}  // namespace

std::vector<Check> controlChecks() {
    return {
        {"gains", "master and colour gains set and read back", gains},
        {"auto-gain", "automatic gain switched on and off", autoGain},
        {"brightness", "brightness set and read back", brightness},
        {"exposure", "exposure set within the frame time and read back", exposure},
        {"frame-rate", "frame rate set and read back", frameRate},
        {"area", "area of interest aligned to the camera's steps, centred, and back to the full sensor", area},
    };
}

}  // namespace check
