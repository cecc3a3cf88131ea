// AVI recording: settings kept in the configuration, Start, Pause/Resume,
// Stop, and the progress of the running recording.
#pragma once

#include "Labels.h"
#include "Notices.h"
#include "ViewerListener.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>

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
    // A frame could not be written: the module leaves the recording paused.
    void faultWhileRunning(const wxString& message);
    // Closing: a recording still open is stopped so that its file is complete.
    void stopForClosing();
    // Fills the form without storing it as the user's settings, then presses Start.
    void startScripted(const wxString& file, double seconds, double fps);

private:
    // The file's name with the number of frames its headers declare.
    static wxString withFrames(const wxString& file);
    enum class State { Idle, Running, Paused };

    wxSpinCtrl* addSpin(wxWindow* box, wxSizer* grid, Txt label, int minimum, int maximum);
    void loadSettings();
    void onSettingChanged(wxSpinEvent& event);
    void onBrowse(wxCommandEvent& event);
    void onStart(wxCommandEvent& event);
    void onPause(wxCommandEvent& event);
    void onStop(wxCommandEvent& event);
    bool startOrResume();
    void becomeIdle();
    void showState();

    Notices& notices_;
    ViewerListener& listener_;
    Labels labels_;
    wxTextCtrl* file_ = nullptr;
    wxButton* browse_ = nullptr;
    wxSpinCtrl* length_ = nullptr;
    wxSpinCtrl* rate_ = nullptr;
    wxSpinCtrl* maxSize_ = nullptr;
    wxSpinCtrl* replay_ = nullptr;
    wxButton* start_ = nullptr;
    wxButton* pause_ = nullptr;
    wxButton* stop_ = nullptr;
    wxGauge* gauge_ = nullptr;
    wxStaticText* progress_ = nullptr;
    wxStopWatch elapsed_;
    State state_ = State::Idle;
    bool cameraOpen_ = false;
    bool dialogs_;
    wxString recordingFile_;
    double recordingLength_ = 0.0;
};

}  // namespace viewer
