// The viewer's window: the live picture beside the camera's controls.
#pragma once

#include "Notices.h"
#include "Options.h"
#include "PictureSampler.h"
#include "Texts.h"

#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <memory>
#include <vector>

class wxMenu;

namespace viewer {

class AreaPanel;
class AutomaticsPanel;
class ControlPanel;
class PicturePanel;
class PresetPanel;
class RecordingPanel;
class ViewerListener;

class MainFrame : public wxFrame {
public:
    // `startupNotices`: what went wrong before the window existed, shown at once.
    MainFrame(const Options& options, ViewerListener& listener, bool cameraOpen,
              const std::vector<wxString>& startupNotices, int& exitCode);
    ~MainFrame() override;

    // A module exception that left an event handler (a recording tick).
    void moduleFault(const wxString& message);

private:
    void buildMenus();
    wxWindow* buildSidebar(wxWindow* parent);
    void relabel();
    void showTitle();
    void enableControls();

    void cameraChanged();
    void cameraReopened();
    void updateStatus();
    void updateSavedMark();

    void onDisplayTimer(wxTimerEvent& event);
    void onClose(wxCloseEvent& event);
    void onLanguage(Language language);
    void runScripted();
    void optimisationEnded();
    void finishSelfTest(bool passed);
    void announcePictureArea();

    const Options& options_;
    ViewerListener& listener_;
    int& exitCode_;
    bool cameraOpen_;
    std::unique_ptr<Notices> notices_;

    // Windows, owned by their parents.
    PicturePanel* picture_ = nullptr;
    ControlPanel* controls_ = nullptr;
    AreaPanel* area_ = nullptr;
    AutomaticsPanel* automatics_ = nullptr;
    PresetPanel* presets_ = nullptr;
    RecordingPanel* recording_ = nullptr;
    wxMenu* fileMenu_ = nullptr;
    wxMenu* languageMenu_ = nullptr;

    wxTimer displayTimer_;
    wxTimer quitTimer_;
    wxTimer scriptTimer_;
    wxTimer closeRetryTimer_;
    wxStopWatch sinceStart_;
    long lastSlowUpdate_ = -1000;
    double cameraRate_ = 0.0;
    bool pictureAnnounced_ = false;
    bool closing_ = false;
    long closeWaitSince_ = -1;
    // --selftest-control: the controls' verdict, waiting for the optimisation's end.
    bool selfTestPassed_ = false;
    bool selfTestWaiting_ = false;
    bool selfTestDone_ = false;
};

}  // namespace viewer
