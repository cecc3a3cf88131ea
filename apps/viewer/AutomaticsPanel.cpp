#include "AutomaticsPanel.h"

#include "Guarded.h"

#include <Nimbrel_model/Camera.h>

#include <wx/sizer.h>
#include <wx/statbox.h>

namespace viewer {

AutomaticsPanel::AutomaticsPanel(wxWindow* parent, Notices& notices, ViewerListener& listener,
                                 std::function<void()> changed)
    : wxPanel(parent, wxID_ANY), notices_(notices), listener_(listener), changed_(std::move(changed)) {
    auto* row = new wxBoxSizer(wxVERTICAL);

    auto* balanceBox = labels_.add(new wxStaticBox(this, wxID_ANY, wxString()), Txt::BoxWhiteBalance);
    auto* balance = new wxStaticBoxSizer(balanceBox, wxHORIZONTAL);
    start_ = labels_.add(
        new wxButton(balanceBox, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT), Txt::Start);
    stop_ = labels_.add(new wxButton(balanceBox, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT),
                        Txt::Stop);
    state_ = new wxStaticText(balanceBox, wxID_ANY, wxString());
    balance->Add(start_, 0, wxALL, 2);
    balance->Add(stop_, 0, wxALL, 2);
    balance->Add(state_, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    row->Add(balance, 0, wxEXPAND | wxBOTTOM, 6);

    auto* clockBox = labels_.add(new wxStaticBox(this, wxID_ANY, wxString()), Txt::BoxPixelClock);
    auto* clock = new wxStaticBoxSizer(clockBox, wxHORIZONTAL);
    optimize_ = new wxButton(clockBox, wxID_ANY, wxString());
    clock->Add(optimize_, 0, wxALL, 2);
    row->Add(clock, 0, wxEXPAND);
    SetSizer(row);
    showState();

    start_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { onWhiteBalance(true); });
    stop_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { onWhiteBalance(false); });
    optimize_->Bind(wxEVT_BUTTON, &AutomaticsPanel::onOptimize, this);
}

void AutomaticsPanel::relabel() {
    labels_.relabel();
    showState();
}

void AutomaticsPanel::enableFor(bool cameraOpen) {
    cameraOpen_ = cameraOpen;
    showState();
}

void AutomaticsPanel::cameraReopened() {
    whiteBalance_ = false;
    showState();
}

void AutomaticsPanel::showState() {
    state_->SetLabel(tr(whiteBalance_ ? Txt::Running : Txt::Off));
    optimize_->SetLabel(tr(optimizing_ ? Txt::Optimizing : Txt::Optimize));
    start_->Enable(cameraOpen_);
    stop_->Enable(cameraOpen_);
    // Disabled until the worker thread has reported its end.
    optimize_->Enable(cameraOpen_ && !optimizing_);
    Layout();
}

void AutomaticsPanel::onWhiteBalance(bool on) {
    if (guarded(notices_, [on] { on ? camera().doWhiteBalance() : camera().stopWhiteBalance(); })) whiteBalance_ = on;
    showState();
    changed_();
}

void AutomaticsPanel::onOptimize(wxCommandEvent&) {
    listener_.optimizationStarted();
    if (guarded(notices_, [this] { camera().optimizeClock(&listener_); })) {
        optimizing_ = true;
    } else {
        listener_.optimizationNotStarted();
    }
    showState();
    changed_();
}

void AutomaticsPanel::simulateOptimize() {
    wxCommandEvent press(wxEVT_BUTTON, optimize_->GetId());
    press.SetEventObject(optimize_);
    optimize_->HandleWindowEvent(press);
}

void AutomaticsPanel::optimizationEnded() {
    optimizing_ = listener_.optimizing();
    showState();
    double rate = 0.0;
    if (guarded(notices_, [&rate] { rate = camera().getFrameRate(); }))
        notices_.info(wxString::Format(tr(Txt::NoticeOptimized), number(rate, 1)));
    changed_();
}

}  // namespace viewer
