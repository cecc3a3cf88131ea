#include "SelfTest.h"

#include "AreaPanel.h"
#include "ControlPanel.h"

#include <Nimbrel_model/Camera.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace viewer {
namespace {

struct Probe {
    const char* name;
    ControlPanel::Control control;
    std::function<double()> read;  // what the camera reports
    std::function<double(double)> choose;  // what to ask for, given what the camera holds
    double tolerance;                      // the camera may round what it is given
};

bool check(ControlPanel& panel, const Probe& probe, std::FILE* out) {
    const double before = probe.read();
    const double asked = probe.choose(before);
    panel.simulateInput(probe.control, asked);
    const double reported = probe.read();
    const double shown = panel.shown(probe.control);
    // The widget shows at most its own precision.
    const bool showsCamera = std::abs(shown - reported) <= std::max(probe.tolerance, 0.01);
    const bool changed = std::abs(reported - before) > 1e-9;
    const bool close = std::abs(reported - asked) <= probe.tolerance;
    const bool ok = showsCamera && changed && close;
    std::fprintf(out, "selftest %s: before %g, asked %g, camera %g, shown %g: %s\n", probe.name, before, asked,
                 reported, shown, ok ? "ok" : "FAILED");
    return ok;
}

// Asks for a size off the camera's step: the camera aligns it, and the fields
// must show the aligned size it reports.
bool checkArea(AreaPanel& area, std::FILE* out) {
    const auto& camera = *Nimbrel_model::Camera::getInstance();
    const int askedWidth = camera.getMaxWidth() / 2 + 1;
    const int askedHeight = camera.getMaxHeight() / 2 + 1;
    area.simulateApply(askedWidth, askedHeight);
    const Extent reported{camera.getWidth(), camera.getHeight()};
    const Extent shown = area.shown();
    const bool ok = shown.width == reported.width && shown.height == reported.height &&
                    reported.width <= askedWidth && reported.height <= askedHeight &&
                    reported.width > askedWidth / 2 && reported.height > askedHeight / 2;
    std::fprintf(out, "selftest area: asked %dx%d, camera %dx%d, shown %dx%d: %s\n", askedWidth, askedHeight,
                 reported.width, reported.height, shown.width, shown.height, ok ? "ok" : "FAILED");
    return ok;
}

}  // namespace

bool runControlSelfTest(ControlPanel& panel, AreaPanel& area, std::FILE* out) {
    using Control = ControlPanel::Control;
    const auto& camera = *Nimbrel_model::Camera::getInstance();
    const auto either = [](double first, double second) {
        return [first, second](double before) { return std::abs(before - first) > 1e-6 ? first : second; };
    };
    const Probe autoGain{"auto-gain", Control::AutoGain, [&camera] { return camera.isGainAuto() ? 1.0 : 0.0; },
                         either(1.0, 0.0), 0.0};
    const Probe probes[] = {
        {"exposure", Control::Exposure, [&camera] { return camera.getExposure(); }, either(5.0, 8.0), 0.05},
        // Half the current rate: within what any sensor sustains at its clock.
        {"frame-rate", Control::FrameRate, [&camera] { return camera.getFrameRate(); },
         [](double before) { return std::max(1.0, std::round(before / 2.0)); }, 0.05},
        {"master-gain", Control::MasterGain, [&camera] { return camera.getGain(); }, either(60.0, 40.0), 0.0},
        {"brightness", Control::Brightness, [&camera] { return double(camera.getBrightness()); }, either(150.0, 100.0),
         0.0},
    };
    // Toggle automatic gain, and leave it off so that it cannot move the gain under the gain probe.
    bool all = check(panel, autoGain, out);
    if (Nimbrel_model::Camera::getInstance()->isGainAuto()) all = check(panel, autoGain, out) && all;
    for (const Probe& probe : probes) all = check(panel, probe, out) && all;
    all = checkArea(area, out) && all;
    std::fflush(out);
    return all;
}

}  // namespace viewer
