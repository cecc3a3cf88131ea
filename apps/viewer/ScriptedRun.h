// What a scripted run of the viewer does beside the window: settings given on
// the command line, the control self-test, a recording started at once, a
// snapshot, the screenshot on closing, and the figures printed at the end.
#pragma once

#include "Options.h"

#include <wx/string.h>

#include <functional>

class wxTopLevelWindow;

namespace viewer {

class AreaPanel;
class AutomaticsPanel;
class ControlPanel;
class HistogramPanel;
class PicturePanel;
class PresetPanel;
class RecordingPanel;

class ScriptedRun {
public:
    // The window's parts that a script drives; owned by the window.
    struct Window {
        ControlPanel& controls;
        AreaPanel& area;
        AutomaticsPanel& automatics;
        PresetPanel& presets;
        RecordingPanel& recording;
        PicturePanel& picture;
        HistogramPanel& histogram;
        std::function<void()> close;
        std::function<wxString()> status;  // the status bar's fields in one line
        std::function<bool()> cameraOpen;
        const wxTopLevelWindow& frame;
    };
    // presetReset: the preset was reset already, to open the camera.
    ScriptedRun(const Options& options, int& exitCode, Window window, bool presetReset);

    // --zoom, --reset-preset, --fps, --gain and --save-preset, in this order,
    // through the controls' own handlers. False when --fps or --gain is
    // outside the camera's range: the window then closes with status 2.
    bool applyStartSettings();
    // Whether start() is wanted once the first pictures are shown.
    bool hasWork() const;
    void start();
    // The window heard of the optimisation's end (after its own handling).
    void optimizationEnded();
    // The recording ended by itself, at a limit or by a failure.
    void recordEnded();
    // The camera's frame rate as read at `seconds` since the start.
    void noteCameraRate(double seconds, double rate);
    // The first picture is on screen: say where, for the tests' screenshots.
    void announceAreas();
    // The window is closing: exit status, screenshot, figures.
    void closing();

private:
    bool startSettingsFit();
    void startSelfTest();
    void finishSelfTest(bool passed);
    void takeSnapshot();
    void printFigures();

    const Options& options_;
    int& exitCode_;
    Window window_;
    bool presetReset_;
    double cameraRateSum_ = 0.0;
    int cameraRateSamples_ = 0;
    bool selfTestPassed_ = false;
    bool selfTestWaiting_ = false;
    bool selfTestDone_ = false;
};

}  // namespace viewer
