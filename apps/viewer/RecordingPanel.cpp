#include "RecordingPanel.h"

#include "AviFrameCounter.h"

#include "Guarded.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/utils.h>

#include <algorithm>

namespace viewer {
namespace {

Nimbrel_model::Camera& camera() { return *Nimbrel_model::Camera::getInstance(); }
Nimbrel_model::Config& config() { return *Nimbrel_model::Config::getInstance(); }

// Used where the configuration holds 0, meaning nothing was stored.
constexpr int kDefaultLength = 10;
constexpr int kDefaultRate = 25;
constexpr int kDefaultMaxSize = 1024;
constexpr int kDefaultReplay = 25;
constexpr int kGaugeRange = 1000;

int orDefault(long stored, int fallback) { return stored > 0 ? static_cast<int>(stored) : fallback; }

}  // namespace

RecordingPanel::RecordingPanel(wxWindow* parent, Notices& notices, ViewerListener& listener, bool dialogs)
    : wxPanel(parent, wxID_ANY), notices_(notices), listener_(listener), dialogs_(dialogs) {
    auto* box = labels_.add(new wxStaticBox(this, wxID_ANY, wxString()), Txt::BoxRecording);
    auto* outer = new wxStaticBoxSizer(box, wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, wxSize(8, 2));
    grid->AddGrowableCol(1);

    grid->Add(labels_.add(new wxStaticText(box, wxID_ANY, wxString()), Txt::FileName), 0, wxALIGN_CENTER_VERTICAL);
    auto* fileRow = new wxBoxSizer(wxHORIZONTAL);
    file_ = new wxTextCtrl(box, wxID_ANY, wxFileName(wxGetHomeDir(), "nimbrel-recording.avi").GetFullPath());
    browse_ = new wxButton(box, wxID_ANY, wxString::FromUTF8("\u2026"), wxDefaultPosition, wxDefaultSize,
                           wxBU_EXACTFIT);
    fileRow->Add(file_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
    fileRow->Add(browse_, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(fileRow, 1, wxEXPAND);
    length_ = addSpin(box, grid, Txt::Length, 0, 86400);
    rate_ = addSpin(box, grid, Txt::RecordRate, 1, 500);
    maxSize_ = addSpin(box, grid, Txt::MaxSize, 1, 1000000);
    replay_ = addSpin(box, grid, Txt::ReplayRate, 1, 500);
    outer->Add(grid, 0, wxEXPAND | wxALL, 4);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    start_ = labels_.add(new wxButton(box, wxID_ANY, wxString()), Txt::Start);
    pause_ = new wxButton(box, wxID_ANY, wxString());
    stop_ = labels_.add(new wxButton(box, wxID_ANY, wxString()), Txt::Stop);
    for (wxButton* button : {start_, pause_, stop_}) buttons->Add(button, 1, wxRIGHT, 4);
    outer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT, 4);

    gauge_ = new wxGauge(box, wxID_ANY, kGaugeRange, wxDefaultPosition, wxSize(-1, 12));
    progress_ = new wxStaticText(box, wxID_ANY, wxString());
    outer->Add(gauge_, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
    outer->Add(progress_, 0, wxEXPAND | wxALL, 4);
    SetSizer(outer);

    loadSettings();
    showState();

    for (wxSpinCtrl* spin : {length_, rate_, maxSize_, replay_})
        spin->Bind(wxEVT_SPINCTRL, &RecordingPanel::onSettingChanged, this);
    browse_->Bind(wxEVT_BUTTON, &RecordingPanel::onBrowse, this);
    start_->Bind(wxEVT_BUTTON, &RecordingPanel::onStart, this);
    pause_->Bind(wxEVT_BUTTON, &RecordingPanel::onPause, this);
    stop_->Bind(wxEVT_BUTTON, &RecordingPanel::onStop, this);
}

wxSpinCtrl* RecordingPanel::addSpin(wxWindow* box, wxSizer* grid, Txt label, int minimum, int maximum) {
    grid->Add(labels_.add(new wxStaticText(box, wxID_ANY, wxString()), label), 0, wxALIGN_CENTER_VERTICAL);
    auto* spin = new wxSpinCtrl(box, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                minimum, maximum, minimum);
    grid->Add(spin, 1, wxEXPAND);
    return spin;
}

void RecordingPanel::loadSettings() {
    length_->SetValue(orDefault(config().getAviUserLength(), kDefaultLength));
    rate_->SetValue(orDefault(config().getAviUserFrameRate(), kDefaultRate));
    maxSize_->SetValue(orDefault(config().getAviUserMaxSize(), kDefaultMaxSize));
    replay_->SetValue(orDefault(config().getAviUserReplayFrameRate(), kDefaultReplay));
}

void RecordingPanel::onSettingChanged(wxSpinEvent&) {
    guarded(notices_, [this] {
        config().saveUserRecordSettings(length_->GetValue(), rate_->GetValue(), maxSize_->GetValue(),
                                        static_cast<long>(replay_->GetValue()));
    });
}

void RecordingPanel::onBrowse(wxCommandEvent&) {
    if (!dialogs_) return;
    const wxFileName current(file_->GetValue());
    wxFileDialog dialog(this, wxString(), current.GetPath(), current.GetFullName(), "AVI (*.avi)|*.avi",
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() == wxID_OK) file_->SetValue(dialog.GetPath());
}

bool RecordingPanel::startOrResume() {
    return guarded(notices_, [this] {
        camera().startRecording(&listener_, Qel::Strings::hstring(file_->GetValue()), length_->GetValue(),
                                rate_->GetValue(), maxSize_->GetValue(), static_cast<long>(replay_->GetValue()));
    });
}

void RecordingPanel::onStart(wxCommandEvent&) {
    if (state_ != State::Idle) return;
    // The module appends the listener at each new recording and never drops it.
    camera().removeListener(&listener_);
    if (startOrResume()) {
        state_ = State::Running;
        recordingFile_ = file_->GetValue();
        recordingLength_ = length_->GetValue();
        elapsed_.Start();
    }
    showState();
}

void RecordingPanel::onPause(wxCommandEvent&) {
    if (state_ == State::Running) {
        guarded(notices_, [] { camera().pauseRecording(); });
        state_ = State::Paused;
        elapsed_.Pause();
    } else if (state_ == State::Paused && startOrResume()) {
        state_ = State::Running;
        recordingLength_ = length_->GetValue();
        elapsed_.Resume();
    }
    showState();
}

void RecordingPanel::onStop(wxCommandEvent&) {
    if (state_ == State::Idle) return;
    // The module closes its side even when a call in it fails.
    if (guarded(notices_, [] { camera().stopRecording(); }))
        notices_.info(wxString::Format(tr(Txt::NoticeRecordSaved), withFrames(recordingFile_)));
    becomeIdle();
}

wxString RecordingPanel::withFrames(const wxString& file) {
    const auto frames = static_cast<unsigned long long>(hosts::declaredFrameCount(file.utf8_string()));
    return wxString::Format(tr(Txt::RecordFrames), file, frames);
}

void RecordingPanel::recordEnded() {
    if (state_ == State::Idle) return;
    notices_.info(wxString::Format(tr(Txt::NoticeRecordEnd), withFrames(recordingFile_)));
    becomeIdle();
}

void RecordingPanel::faultWhileRunning(const wxString& message) {
    if (state_ != State::Running) return;
    state_ = State::Paused;
    elapsed_.Pause();
    notices_.error(wxString::Format(tr(Txt::NoticeRecordFault), message));
    showState();
}

void RecordingPanel::stopForClosing() {
    if (state_ == State::Idle) return;
    guarded(notices_, [] { camera().stopRecording(); });
    becomeIdle();
}

void RecordingPanel::startScripted(const wxString& file, double seconds, double fps) {
    file_->SetValue(file);
    if (seconds >= 0.0) length_->SetValue(static_cast<int>(seconds));
    if (fps > 0.0) rate_->SetValue(static_cast<int>(fps));
    wxCommandEvent press(wxEVT_BUTTON, start_->GetId());
    press.SetEventObject(start_);
    start_->HandleWindowEvent(press);
}

void RecordingPanel::becomeIdle() {
    state_ = State::Idle;
    camera().removeListener(&listener_);
    elapsed_.Pause();
    showState();
}

void RecordingPanel::tick() {
    if (state_ == State::Idle) return;
    const double seconds = elapsed_.Time() / 1000.0;
    if (state_ == State::Paused) {
        progress_->SetLabel(wxString::Format(tr(Txt::RecordPaused), number(seconds, 1)));
    } else if (recordingLength_ > 0.0) {
        const double part = std::min(seconds / recordingLength_, 1.0);
        gauge_->SetValue(static_cast<int>(part * kGaugeRange));
        progress_->SetLabel(
            wxString::Format(tr(Txt::RecordProgress), number(seconds, 1), number(recordingLength_, 0)));
    } else {
        gauge_->Pulse();
        progress_->SetLabel(wxString::Format(tr(Txt::RecordNoLimit), number(seconds, 1)));
    }
}

void RecordingPanel::relabel() {
    labels_.relabel();
    showState();
}

void RecordingPanel::enableFor(bool cameraOpen) {
    cameraOpen_ = cameraOpen;
    showState();
}

void RecordingPanel::showState() {
    const bool idle = state_ == State::Idle;
    for (wxWindow* field : std::initializer_list<wxWindow*>{file_, length_, rate_, maxSize_, replay_})
        field->Enable(idle);
    browse_->Enable(idle && dialogs_);
    start_->Enable(cameraOpen_ && idle);
    pause_->Enable(cameraOpen_ && !idle);
    stop_->Enable(cameraOpen_ && !idle);
    pause_->SetLabel(tr(state_ == State::Paused ? Txt::Resume : Txt::Pause));
    if (idle) {
        gauge_->SetValue(0);
        progress_->SetLabel(tr(Txt::RecordIdle));
    } else {
        tick();
    }
}

}  // namespace viewer
