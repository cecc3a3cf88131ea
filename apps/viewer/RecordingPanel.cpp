#include "RecordingPanel.h"

#include "AviFrameCounter.h"
#include "Format.h"
#include "PlaybackRate.h"
#include "RecordingGuard.h"
#include "RecordingLoss.h"
#include "RecordingTarget.h"
#include "SettingsLock.h"
#include "SharedOptions.h"
#include "WriteProbe.h"

#include "Guarded.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/utils.h>

#include <algorithm>
#include <cmath>

namespace viewer {
namespace {

namespace shared = host::options;

Nimbrel_model::Config& config() { return *Nimbrel_model::Config::getInstance(); }

// Used where the configuration holds 0, meaning nothing was stored.
constexpr double kDefaultLength = 10.0;
constexpr double kDefaultRate = 25.0;
constexpr int kGaugeRange = 1000;

// As few digits as the value needs: 2 s at 12.5 fps.
wxString shortNumber(double value) {
    wxString text = wxString::FromUTF8(host::number(value));
    if (language() == Language::French) text.Replace(".", ",");
    return text;
}

double orDefault(long stored, double fallback) { return stored > 0 ? static_cast<double>(stored) : fallback; }

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
    browse_ =
        new wxButton(box, wxID_ANY, wxString::FromUTF8("\u2026"), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    fileRow->Add(file_, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 2);
    fileRow->Add(browse_, 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(fileRow, 1, wxEXPAND);
    // The ranges the command line's options have.
    length_ = addSpin(box, grid, Txt::Length, shared::seconds.range.low, shared::seconds.range.high, 1);
    rate_ = addSpin(box, grid, Txt::RecordRate, 0.01, shared::kMaxFps, 2);
    maxSize_ = addSpin(box, grid, Txt::MaxSize, 1.0, shared::maxSize.range.high, 0);
    replay_ = addSpin(box, grid, Txt::ReplayRate, shared::replay.range.low, shared::replay.range.high, 0);
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

    for (wxSpinCtrlDouble* spin : {length_, maxSize_, replay_})
        spin->Bind(wxEVT_SPINCTRLDOUBLE, [this](wxSpinDoubleEvent&) { storeSettings(); });
    rate_->Bind(wxEVT_SPINCTRLDOUBLE, &RecordingPanel::onRateChanged, this);
    browse_->Bind(wxEVT_BUTTON, &RecordingPanel::onBrowse, this);
    start_->Bind(wxEVT_BUTTON, &RecordingPanel::onStart, this);
    pause_->Bind(wxEVT_BUTTON, &RecordingPanel::onPause, this);
    stop_->Bind(wxEVT_BUTTON, &RecordingPanel::onStop, this);
}

wxSpinCtrlDouble* RecordingPanel::addSpin(wxWindow* box, wxSizer* grid, Txt label, double minimum, double maximum,
                                          int digits) {
    grid->Add(labels_.add(new wxStaticText(box, wxID_ANY, wxString()), label), 0, wxALIGN_CENTER_VERTICAL);
    auto* spin = new wxSpinCtrlDouble(box, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                      minimum, maximum, minimum, 1.0);
    spin->SetDigits(digits);
    grid->Add(spin, 1, wxEXPAND);
    return spin;
}

void RecordingPanel::loadSettings() {
    const double rate = orDefault(config().getAviUserFrameRate(), kDefaultRate);
    showSettings({orDefault(config().getAviUserLength(), kDefaultLength), rate,
                  orDefault(config().getAviUserMaxSize(), shared::kDefaultMaxSizeMb),
                  static_cast<long>(orDefault(config().getAviUserReplayFrameRate(),
                                              static_cast<double>(shared::defaultReplay(rate))))});
}

RecordingPanel::Settings RecordingPanel::formSettings() const {
    return {length_->GetValue(), rate_->GetValue(), maxSize_->GetValue(), std::lround(replay_->GetValue())};
}

void RecordingPanel::showSettings(const Settings& settings) {
    length_->SetValue(settings.seconds);
    rate_->SetValue(settings.fps);
    maxSize_->SetValue(settings.maxSizeMb);
    replay_->SetValue(static_cast<double>(settings.replay));
    shownRate_ = settings.fps;
}

void RecordingPanel::storeSettings() {
    // Read-only: the form keeps the values for this run.
    if (host::toolSettingsLock().readOnly()) return;
    const Settings s = formSettings();
    guarded(notices_, [&s] { config().saveUserRecordSettings(s.seconds, s.fps, s.maxSizeMb, s.replay); });
}

void RecordingPanel::onRateChanged(wxSpinDoubleEvent&) {
    // A replay rate that followed the recording rate goes on following it.
    if (std::lround(replay_->GetValue()) == shared::defaultReplay(shownRate_))
        replay_->SetValue(static_cast<double>(shared::defaultReplay(rate_->GetValue())));
    shownRate_ = rate_->GetValue();
    storeSettings();
}

void RecordingPanel::onBrowse(wxCommandEvent&) {
    if (!dialogs_) return;
    const wxFileName current(file_->GetValue());
    wxFileDialog dialog(this, wxString(), current.GetPath(), current.GetFullName(), "AVI (*.avi)|*.avi",
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    if (dialog.ShowModal() == wxID_OK) file_->SetValue(dialog.GetPath());
}

bool RecordingPanel::startOrResume(const Settings& s) {
    const bool resuming = state_ != State::Idle;
    return guarded(notices_, [this, &s, resuming] {
        try {
            camera().startRecording(&listener_, Qel::Strings::hstring(file_->GetValue()), s.seconds, s.fps, s.maxSizeMb,
                                    s.replay);
        } catch (const Qel::Exception& failure) {
            // The AVI tools give only a status: the file's place tells why.
            const std::string path = file_->GetValue().utf8_string();
            const host::WriteProblem problem = resuming ? host::WriteProblem{} : host::probeWrite(path);
            if (!problem.error) throw;
            throw Qel::Exception(Qel::Strings::hstring(
                                     host::WriteFailure("recording", path, problem, failure.getMessage().str()).what()),
                                 failure.getSeverity());
        }
    });
}

void RecordingPanel::onStart(wxCommandEvent&) { start(formSettings()); }

void RecordingPanel::start(const Settings& settings) {
    if (state_ != State::Idle) return;
    const std::string path = file_->GetValue().utf8_string();
    const int width = camera().getMaxWidth();
    const int height = camera().getMaxHeight();
    std::string refusal = host::recordingTargetProblem(path);
    if (refusal.empty()) refusal = host::startRefusal(host::roomToStart(path, width, height));
    if (!refusal.empty()) {
        notices_.error(wxString::FromUTF8("cannot record: " + refusal));
        if (ended_) ended_();
        return;
    }
    // The module appends the listener at each new recording and never drops it.
    camera().removeListener(&listener_);
    if (startOrResume(settings)) {
        guard_ = std::make_unique<host::RecordingGuard>(camera(), path, width, height, [this] {
            // The guard is on the stack: it goes once the event is over.
            const std::string problem = host::stopUntilClosed(camera());
            CallAfter([this, problem] { reportDiskShort(problem); });
        });
        state_ = State::Running;
        recordingFile_ = file_->GetValue();
        recordingLength_ = settings.seconds;
        recordingRate_ = settings.fps;
        // Replayed at its own rate, a fractional one: the module writes it rounded.
        exactRate_ = settings.replay == shared::defaultReplay(settings.fps) && host::playbackRateRounded(settings.fps);
        elapsed_.Start();
    }
    showState();
}

void RecordingPanel::onPause(wxCommandEvent&) {
    if (state_ == State::Running) {
        guarded(notices_, [] { camera().pauseRecording(); });
        state_ = State::Paused;
        elapsed_.Pause();
    } else if (state_ == State::Paused && startOrResume(formSettings())) {
        state_ = State::Running;
        recordingLength_ = length_->GetValue();
        recordingRate_ = rate_->GetValue();
        elapsed_.Resume();
    }
    showState();
}

void RecordingPanel::onStop(wxCommandEvent&) {
    if (state_ == State::Idle) return;
    // A stop that failed left the file open: it is repeated until the file is closed.
    const std::string problem = host::stopUntilClosed(camera());
    becomeIdle();
    if (problem.empty())
        notices_.info(wxString::Format(tr(Txt::NoticeRecordSaved), withFrames(recordingFile_)));
    else
        notices_.error(wxString::Format(tr(Txt::NoticeCameraError), wxString::FromUTF8(problem)));
}

wxString RecordingPanel::withFrames(const wxString& file) {
    const auto frames = static_cast<unsigned long long>(host::declaredFrameCount(file.utf8_string()));
    return wxString::Format(tr(Txt::RecordFrames), file, frames);
}

void RecordingPanel::recordEnded() {
    if (state_ == State::Idle) return;
    wxString text = wxString::Format(tr(Txt::NoticeRecordEnd), withFrames(recordingFile_));
    if (recordingLength_ > 0.0) {
        const auto frames = static_cast<unsigned long long>(host::framesForLength(recordingLength_, recordingRate_));
        text << "\n"
             << wxString::Format(tr(Txt::RecordLengthNote), shortNumber(recordingLength_), shortNumber(recordingRate_),
                                 frames, shortNumber(recordingRate_));
    }
    notices_.info(text);
    becomeIdle();
    if (ended_) ended_();
}

void RecordingPanel::faultWhileRunning(const wxString& message) {
    if (state_ == State::Idle) return;
    // The module keeps the AVI instance after a failed stop: a new stop
    // repeats the whole sequence until the file is closed.
    reportLoss(message, host::stopUntilClosed(camera()));
}

void RecordingPanel::reportDiskShort(const std::string& stopProblem) {
    if (state_ == State::Idle || !guard_) return;
    wxString text = wxString::FromUTF8(guard_->stoppedMessage(recordingRate_));
    if (!stopProblem.empty())
        text << "\n" << wxString::Format(tr(Txt::RecordNotFinished), wxString::FromUTF8(stopProblem));
    notices_.error(text);
    becomeIdle();
    if (ended_) ended_();
}

void RecordingPanel::reportLoss(const wxString& failure, const std::string& stopProblem) {
    const host::RecordingKept kept = host::recordingKept(recordingFile_.utf8_string(), recordingRate_);
    wxString text = wxString::Format(tr(Txt::NoticeRecordFault), failure) + "\n" +
                    wxString::Format(tr(Txt::RecordKept), recordingFile_, static_cast<unsigned long long>(kept.frames),
                                     number(kept.seconds, 2), number(kept.fps, 2));
    const wxString folder = wxString::FromUTF8(kept.folder);
    if (kept.disk == host::DiskState::Full)
        text << "\n"
             << wxString::Format(tr(Txt::DiskFull), folder, static_cast<unsigned long long>(kept.bytesLeft / 1024));
    if (kept.disk == host::DiskState::ReadOnly) text << "\n" << wxString::Format(tr(Txt::DiskReadOnly), folder);
    if (!stopProblem.empty())
        text << "\n" << wxString::Format(tr(Txt::RecordNotFinished), wxString::FromUTF8(stopProblem));
    notices_.error(text);
    becomeIdle();
    if (ended_) ended_();
}

void RecordingPanel::stopForClosing() {
    if (state_ == State::Idle) return;
    const std::string problem = host::stopUntilClosed(camera());
    if (!problem.empty()) notices_.error(wxString::Format(tr(Txt::NoticeCameraError), wxString::FromUTF8(problem)));
    becomeIdle();
}

std::string RecordingPanel::stopWithoutDisplay() {
    if (state_ == State::Idle) return "";
    state_ = State::Idle;
    const std::string problem = host::stopUntilClosed(camera());
    const std::string file = recordingFile_.utf8_string();
    return "the recording was stopped: " + file + " keeps " + std::to_string(host::declaredFrameCount(file)) +
           " frames" + (problem.empty() ? "" : "; the file could not be finished: " + problem);
}

void RecordingPanel::startScripted(const Options& options) {
    file_->SetValue(options.record);
    Settings settings{options.recordSeconds, options.recordFps.value_or(-1.0), options.maxSizeMb, 0};
    if (settings.fps <= 0.0) guarded(notices_, [&settings] { settings.fps = camera().getFrameRate(); });
    settings.replay = options.replayFps.value_or(shared::defaultReplay(settings.fps));
    showSettings(settings);
    start(settings);
}

void RecordingPanel::becomeIdle() {
    state_ = State::Idle;
    guard_.reset();
    if (exactRate_) host::setPlaybackRate(recordingFile_.utf8_string(), recordingRate_);
    exactRate_ = false;
    camera().removeListener(&listener_);
    elapsed_.Pause();
    showState();
}
void RecordingPanel::tick() {
    if (state_ == State::Idle) return;
    const double seconds = static_cast<double>(elapsed_.Time()) / 1000.0;
    if (state_ == State::Paused) {
        progress_->SetLabel(wxString::Format(tr(Txt::RecordPaused), number(seconds, 1)));
    } else if (recordingLength_ > 0.0) {
        const double part = std::min(seconds / recordingLength_, 1.0);
        gauge_->SetValue(static_cast<int>(part * kGaugeRange));
        progress_->SetLabel(wxString::Format(tr(Txt::RecordProgress), number(seconds, 1), number(recordingLength_, 0)));
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
