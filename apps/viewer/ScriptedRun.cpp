#include "ScriptedRun.h"

#include "AreaPanel.h"
#include "AutomaticsPanel.h"
#include "ControlPanel.h"
#include "HistogramPanel.h"
#include "PicturePanel.h"
#include "PresetPanel.h"
#include "RecordingPanel.h"
#include "SelfTest.h"
#include "SettingRanges.h"
#include "Snapshot.h"

#include <Nimbrel_model/Camera.h>
#include <Qel/Qel.h>
#include <wx/app.h>

#include <cstdio>
#include <string>
#include <vector>

namespace viewer {
namespace {

constexpr double kWarmUpSeconds = 1.0;  // the figures leave the start-up out

std::string utf8(const wxString& text) { return text.utf8_string(); }

double histogramMean(const Histogram& histogram) {
    double sum = 0.0;
    for (int c = 0; c < histogram.channels; ++c)
        for (int bin = 0; bin < 256; ++bin) sum += static_cast<double>(bin) * histogram.counts[c][bin];
    return histogram.values > 0 ? sum / static_cast<double>(histogram.values) : 0.0;
}

}  // namespace

ScriptedRun::ScriptedRun(const Options& options, int& exitCode, Window window, bool presetReset)
    : options_(options), exitCode_(exitCode), window_(std::move(window)), presetReset_(presetReset) {}

bool ScriptedRun::startSettingsFit() {
    try {
        const Nimbrel_model::Camera& camera = *Nimbrel_model::Camera::getInstance();
        if (options_.frameRate > 0.0)
            host::requireInRange("--fps", options_.frameRate, camera.getFrameRateRange(), "fps");
        if (options_.gain >= 0) host::requireWholeInRange("--gain", options_.gain, camera.getGainRange());
        return true;
    } catch (const host::OutOfRange& refused) {
        std::fprintf(stderr, "nimbrel-viewer: %s\n", refused.what());
    } catch (const Qel::Exception& failure) {
        std::fprintf(stderr, "nimbrel-viewer: %s\n", failure.getMessage().str().c_str());
    }
    exitCode_ = 2;
    wxTheApp->CallAfter([close = window_.close] { close(); });
    return false;
}

bool ScriptedRun::applyStartSettings() {
    window_.picture.setZoom(options_.zoom);
    if (!window_.cameraOpen()) return true;
    if (options_.resetPreset && !presetReset_) window_.presets.simulatePress(PresetPanel::Button::Reset);
    // Checked once the camera can tell its ranges; nothing reaches it for a refused value.
    if (!startSettingsFit()) return false;
    if (options_.frameRate > 0.0) window_.controls.simulateInput(ControlPanel::Control::FrameRate, options_.frameRate);
    if (options_.gain >= 0) window_.controls.simulateInput(ControlPanel::Control::MasterGain, options_.gain);
    if (options_.savePreset) window_.presets.simulatePress(PresetPanel::Button::Save);
    return true;
}

bool ScriptedRun::hasWork() const {
    return options_.selfTestControl || !options_.record.empty() || !options_.snapshot.empty();
}

void ScriptedRun::start() {
    if (options_.selfTestControl) {
        startSelfTest();
    } else if (!options_.record.empty()) {
        window_.recording.startScripted(options_);
        if (!window_.recording.busy()) {
            exitCode_ = 1;
            window_.close();
        }
    } else if (!options_.snapshot.empty()) {
        takeSnapshot();
    }
}

void ScriptedRun::startSelfTest() {
    if (!window_.cameraOpen()) {
        std::printf("selftest: no camera\n");
        finishSelfTest(false);
        return;
    }
    const std::vector<wxWindow*> panels{&window_.histogram,  &window_.controls, &window_.area,
                                        &window_.automatics, &window_.presets,  &window_.recording};
    selfTestPassed_ = runLayoutSelfTest(window_.frame, panels, stdout);
    selfTestPassed_ = runControlSelfTest(window_.controls, window_.area, stdout) && selfTestPassed_;
    // The optimisation ends on a worker thread; its end is checked when it reaches this thread.
    window_.automatics.simulateOptimize();
    const bool waits = !window_.automatics.optimizeEnabled();
    std::printf("selftest optimise: button disabled while it runs: %s\n", waits ? "ok" : "FAILED");
    selfTestPassed_ = selfTestPassed_ && waits;
    selfTestWaiting_ = waits;
    if (!waits) finishSelfTest(false);
}

void ScriptedRun::optimizationEnded() {
    if (!selfTestWaiting_) return;
    selfTestWaiting_ = false;
    const bool enabled = window_.automatics.optimizeEnabled();
    std::printf("selftest optimise: ended, frame rate %g, button enabled again: %s\n",
                Nimbrel_model::Camera::getInstance()->getFrameRate(), enabled ? "ok" : "FAILED");
    finishSelfTest(selfTestPassed_ && enabled);
}

void ScriptedRun::finishSelfTest(bool passed) {
    selfTestDone_ = true;
    std::printf("selftest: %s\n", passed ? "passed" : "failed");
    std::fflush(stdout);
    exitCode_ = passed ? 0 : 1;
    window_.close();
}

void ScriptedRun::recordEnded() {
    if (!options_.record.empty()) window_.close();
}

void ScriptedRun::takeSnapshot() {
    const Extent area = window_.area.area();
    if (window_.cameraOpen() && saveSnapshot(options_.snapshot, area)) {
        std::printf("nimbrel-viewer: snapshot saved to %s (%d x %d)\n", utf8(options_.snapshot).c_str(), area.width,
                    area.height);
    } else {
        std::fprintf(stderr, "nimbrel-viewer: could not save the snapshot %s\n",
                     utf8(snapshotFailure(options_.snapshot)).c_str());
        exitCode_ = 1;
    }
    window_.close();
}

void ScriptedRun::noteCameraRate(double seconds, double rate) {
    if (seconds < kWarmUpSeconds) return;
    cameraRateSum_ += rate;
    ++cameraRateSamples_;
}

void ScriptedRun::announceAreas() {
    const wxRect area = window_.picture.pictureRect();
    const wxPoint onScreen = window_.picture.ClientToScreen(area.GetTopLeft());
    std::printf("nimbrel-viewer: picture area on screen %d %d %d %d\n", onScreen.x, onScreen.y, area.GetWidth(),
                area.GetHeight());
    const wxRect curves = window_.histogram.curvesOnScreen();
    std::printf("nimbrel-viewer: histogram area on screen %d %d %d %d\n", curves.x, curves.y, curves.width,
                curves.height);
    std::fflush(stdout);
}

void ScriptedRun::closing() {
    if (!options_.record.empty() && window_.recording.busy()) exitCode_ = 1;  // the camera did not end it
    if (options_.selfTestControl && !selfTestDone_) exitCode_ = 1;
    if (!options_.screenshot.empty()) {
        if (window_.picture.saveTo(options_.screenshot))
            std::printf("nimbrel-viewer: picture saved to %s\n", utf8(options_.screenshot).c_str());
        else
            std::fprintf(stderr, "nimbrel-viewer: could not write %s\n", utf8(options_.screenshot).c_str());
    }
    if (options_.quitAfter >= 0.0 && window_.cameraOpen()) printFigures();
}

void ScriptedRun::printFigures() {
    const double camera = cameraRateSamples_ > 0 ? cameraRateSum_ / cameraRateSamples_ : 0.0;
    std::printf("nimbrel-viewer: camera %s fps, picture %s changes/s\n", utf8(wxString::FromCDouble(camera, 1)).c_str(),
                utf8(wxString::FromCDouble(window_.picture.changesPerSecondAfterStart(), 1)).c_str());
    const Histogram& histogram = window_.histogram.histogram();
    std::printf("nimbrel-viewer: histogram mean %s, clipped %s %% at 0, %s %% at 255\n",
                utf8(wxString::FromCDouble(histogramMean(histogram), 1)).c_str(),
                utf8(wxString::FromCDouble(histogram.clippedLow * 100.0, 2)).c_str(),
                utf8(wxString::FromCDouble(histogram.clippedHigh * 100.0, 2)).c_str());
    std::printf("nimbrel-viewer: status %s\n", utf8(window_.status()).c_str());
    std::fflush(stdout);
}

}  // namespace viewer
