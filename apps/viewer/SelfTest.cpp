#include "SelfTest.h"

#include "AreaPanel.h"
#include "ControlPanel.h"

#include <Nimbrel_model/Camera.h>

#include <wx/display.h>
#include <wx/scrolwin.h>
#include <wx/toplevel.h>

#include <algorithm>
#include <cmath>
#include <functional>

namespace viewer {
namespace {

struct Probe {
    const char* name;
    ControlPanel::Control control;
    std::function<double()> read;          // what the camera reports
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
    const bool ok = shown.width == reported.width && shown.height == reported.height && reported.width <= askedWidth &&
                    reported.height <= askedHeight && reported.width > askedWidth / 2 &&
                    reported.height > askedHeight / 2;
    std::fprintf(out, "selftest area: asked %dx%d, camera %dx%d, shown %dx%d: %s\n", askedWidth, askedHeight,
                 reported.width, reported.height, shown.width, shown.height, ok ? "ok" : "FAILED");
    return ok;
}

// Scrolls `side` in whole scroll units so that the virtual row `y` is at the
// top, or just below it when `down` (as far as the sidebar goes).
void scrollTo(wxScrolledWindow& side, int y, bool down = false) {
    int unitX = 0;
    int unitY = 0;
    side.GetScrollPixelsPerUnit(&unitX, &unitY);
    if (unitY <= 0) return;
    y = std::max(y, 0);
    side.Scroll(0, down ? (y + unitY - 1) / unitY : y / unitY);
}

// Both the top and the bottom of `panel` can be brought inside the sidebar.
bool reachable(wxScrolledWindow& side, const wxWindow& panel) {
    const int top = side.CalcUnscrolledPosition(panel.GetPosition()).y;
    const int height = panel.GetSize().GetHeight();
    const int visible = side.GetClientSize().GetHeight();
    scrollTo(side, top);
    const bool topShown = panel.GetPosition().y >= 0 && panel.GetPosition().y < visible;
    scrollTo(side, top + height - visible, true);
    const int bottom = panel.GetPosition().y + height;

    return topShown && bottom > 0 && bottom <= visible;
}

}  // namespace

bool runLayoutSelfTest(const wxTopLevelWindow& window, const std::vector<wxWindow*>& panels, std::FILE* out) {
    const int display = wxDisplay::GetFromWindow(&window);
    const wxRect work = wxDisplay(static_cast<unsigned>(std::max(display, 0))).GetClientArea();
    const bool fits = work.Contains(window.GetScreenRect());
    auto* side = panels.empty() ? nullptr : wxDynamicCast(panels.front()->GetParent(), wxScrolledWindow);
    int hidden = side ? 0 : static_cast<int>(panels.size());
    for (const wxWindow* panel : panels)
        if (side && !reachable(*side, *panel)) ++hidden;
    if (side) scrollTo(*side, 0);
    const bool ok = fits && hidden == 0;
    std::fprintf(out, "selftest layout: window %dx%d in a work area of %dx%d, panels out of reach %d: %s\n",
                 window.GetSize().GetWidth(), window.GetSize().GetHeight(), work.width, work.height, hidden,
                 ok ? "ok" : "FAILED");
    return ok;
}

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
