// AVI recording: settings kept in the configuration, Start, Pause/Resume,
// Stop, and the progress of the running recording. A failure that ends it
// (a full disk) stops it with the file finished and says what it kept.
#pragma once

#include "Labels.h"
#include "Notices.h"
#include "Options.h"
#include "RecordingGuard.h"
#include "ViewerListener.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>

#include <functional>
#include <memory>
#include <string>

namespace viewer {

class RecordingPanel : public wxPanel {
public:
    // `dialogs`: whether the file chooser, a modal dialog, may be opened.
    RecordingPanel(wxWindow* parent, Notices& notices, ViewerListener& listener, bool dialogs);

    void relabel();
    void enableFor(bool cameraOpen);
    // Called at display rate to move the progress bar.
    void tick();
    bool busy() const { return state_ != State::Idle; }

    // The module ended the recording at a limit; the file is closed.
    void recordEnded();
    // A tick failed and the module left the recording paused: stop it (once
    // more after the event loop ran if that fails too) and say what the file kept.
    void faultWhileRunning(const wxString& message);
    // Closing: a recording still open is stopped so that its file is complete.
    void stopForClosing();
    // The display is gone: stops an open recording without touching a
    // window; returns what to tell ("" when none was open).
    std::string stopWithoutDisplay();
    // --record and its settings: fills the form without storing it as the
    // user's settings, and starts.
    void startScripted(const Options& options);
    // Runs when a recording ended by itself: at a limit, or by a failure.
    void whenEnded(std::function<void()> ended) { ended_ = std::move(ended); }

private:
    struct Settings {
        double seconds;
        double fps;
        double maxSizeMb;
        long replay;
    };
    enum class State { Idle, Running, Paused };

    // The file's name with the number of frames its headers declare.
    static wxString withFrames(const wxString& file);
    wxSpinCtrlDouble* addSpin(wxWindow* box, wxSizer* grid, Txt label, double minimum, double maximum, int digits);
    void loadSettings();
    Settings formSettings() const;
    void showSettings(const Settings& settings);
    void storeSettings();
    void onRateChanged(wxSpinDoubleEvent& event);
    void onBrowse(wxCommandEvent& event);
    void onStart(wxCommandEvent& event);
    void onPause(wxCommandEvent& event);
    void onStop(wxCommandEvent& event);
    void start(const Settings& settings);
    bool startOrResume(const Settings& settings);
    void reportLoss(const wxString& failure, const std::string& stopProblem);
    // The guard stopped the recording before the disk filled.
    void reportDiskShort(const std::string& stopProblem);
    void becomeIdle();
    void showState();

    Notices& notices_;
    ViewerListener& listener_;
    Labels labels_;
    wxTextCtrl* file_ = nullptr;
    wxButton* browse_ = nullptr;
    wxSpinCtrlDouble* length_ = nullptr;
    wxSpinCtrlDouble* rate_ = nullptr;
    wxSpinCtrlDouble* maxSize_ = nullptr;
    wxSpinCtrlDouble* replay_ = nullptr;
    wxButton* start_ = nullptr;
    wxButton* pause_ = nullptr;
    wxButton* stop_ = nullptr;
    wxGauge* gauge_ = nullptr;
    wxStaticText* progress_ = nullptr;
    wxStopWatch elapsed_;
    State state_ = State::Idle;
    bool cameraOpen_ = false;
    bool dialogs_;
    double shownRate_ = 0.0;  // the rate the replay rate followed last
    wxString recordingFile_;
    double recordingLength_ = 0.0;
    double recordingRate_ = 0.0;
    bool exactRate_ = false;  // write the rate back as a fraction when it ends
    std::function<void()> ended_;
    std::unique_ptr<host::RecordingGuard> guard_;  // while a recording is open
};

}  // namespace viewer
