// The viewer's window: the live picture and its histogram beside the camera's
// controls. What scripted runs do beside the window is in ScriptedRun.
#pragma once

#include "FrameMeter.h"
#include "Notices.h"
#include "Options.h"
#include "PictureSampler.h"
#include "Texts.h"

#include <Nimbrel_model/FrameStream.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class wxMenu;

namespace viewer {

class AreaPanel;
class AutomaticsPanel;
class ControlPanel;
class HistogramPanel;
class PicturePanel;
class PictureTools;
class PresetPanel;
class RecordingPanel;
class ScriptedRun;
class ViewerListener;

// What happened before the window existed, shown as soon as it does.
struct Startup {
    bool cameraOpen = false;
    bool presetReset = false;  // the preset was reset so that the camera opened
    std::vector<wxString> errors;
    std::vector<wxString> infos;
};

class MainFrame : public wxFrame {
public:
    MainFrame(const Options& options, ViewerListener& listener, const Startup& startup, int& exitCode);
    ~MainFrame() override;

    // A module exception that left an event handler (a recording tick).
    void moduleFault(const wxString& message);
    // See RecordingPanel::stopWithoutDisplay.
    std::string stopRecordingWithoutDisplay();

private:
    void buildMenus();
    wxWindow* buildSidebar(wxWindow* parent);
    void relabel();
    void showTitle();
    void enableControls();

    void cameraChanged();
    void cameraReopened();
    void updateStatus();
    void updateView();
    void updateSavedMark();
    wxString statusLine() const;

    void onDisplayTimer(wxTimerEvent& event);
    void fitToDisplay();
    void showStartup(const Startup& startup);
    int pollInterval() const;
    // Drains the frame stream (started when needed) and gives the newest frame.
    std::optional<Nimbrel_model::Frame> newestFrame();
    void onClose(wxCloseEvent& event);
    void onLanguage(Language language);
    void onSnapshot();
    void onZoom(int zoom);

    const Options& options_;
    ViewerListener& listener_;
    int& exitCode_;
    bool cameraOpen_;
    std::unique_ptr<Notices> notices_;

    // Windows, owned by their parents.
    PicturePanel* picture_ = nullptr;
    PictureTools* tools_ = nullptr;
    HistogramPanel* histogram_ = nullptr;
    ControlPanel* controls_ = nullptr;
    AreaPanel* area_ = nullptr;
    AutomaticsPanel* automatics_ = nullptr;
    PresetPanel* presets_ = nullptr;
    RecordingPanel* recording_ = nullptr;
    wxMenu* fileMenu_ = nullptr;
    wxMenu* languageMenu_ = nullptr;
    std::unique_ptr<ScriptedRun> scripted_;

    wxTimer displayTimer_;
    wxTimer quitTimer_;
    wxTimer scriptTimer_;
    wxTimer closeRetryTimer_;
    wxStopWatch sinceStart_;
    long lastSlowUpdate_ = -1000;
    long lastHistogram_ = -1000;
    double cameraRate_ = 0.0;
    FrameMeter meter_;
    bool streamFailed_ = false;  // told once; tried again when the camera changes
    bool pictureAnnounced_ = false;
    bool closing_ = false;
    long closeWaitSince_ = -1;
};

}  // namespace viewer
