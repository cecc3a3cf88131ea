#include "PresetPanel.h"

#include "CameraOpener.h"
#include "Guarded.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include <wx/sizer.h>
#include <wx/statbox.h>

namespace viewer {

PresetPanel::PresetPanel(wxWindow* parent, Notices& notices, Hooks hooks)
    : wxPanel(parent, wxID_ANY), notices_(notices), hooks_(std::move(hooks)) {
    auto* box = labels_.add(new wxStaticBox(this, wxID_ANY, wxString()), Txt::BoxPresets);
    auto* row = new wxStaticBoxSizer(box, wxHORIZONTAL);
    save_ = labels_.add(new wxButton(box, wxID_ANY, wxString()), Txt::Save);
    reset_ = labels_.add(new wxButton(box, wxID_ANY, wxString()), Txt::Reset);
    mark_ = new wxStaticText(box, wxID_ANY, wxString());
    row->Add(save_, 0, wxALL, 2);
    row->Add(reset_, 0, wxALL, 2);
    row->Add(mark_, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
    SetSizer(row);
    saved_ = Nimbrel_model::Config::getInstance()->getConfSaved();
    showMark();

    save_->Bind(wxEVT_BUTTON, &PresetPanel::onSave, this);
    reset_->Bind(wxEVT_BUTTON, &PresetPanel::onReset, this);
}

void PresetPanel::relabel() {
    labels_.relabel();
    showMark();
}

void PresetPanel::enableFor(bool cameraOpen, bool canReset) {
    save_->Enable(cameraOpen);
    reset_->Enable(canReset);
}

void PresetPanel::simulatePress(Button button) {
    wxButton* pressed = button == Button::Save ? save_ : reset_;
    wxCommandEvent press(wxEVT_BUTTON, pressed->GetId());
    press.SetEventObject(pressed);
    pressed->HandleWindowEvent(press);
}

bool PresetPanel::updateMark() {
    const bool saved = Nimbrel_model::Config::getInstance()->getConfSaved();
    if (saved == saved_) return false;
    saved_ = saved;
    showMark();
    return true;
}

void PresetPanel::showMark() {
    mark_->SetLabel(tr(saved_ ? Txt::PresetSaved : Txt::PresetUnsaved));
    mark_->SetForegroundColour(saved_ ? wxColour(60, 120, 60) : wxColour(200, 90, 0));
    Layout();
}

void PresetPanel::onSave(wxCommandEvent&) {
    if (!settingsWritable(notices_, "save the user preset")) return;
    if (guarded(notices_, [] { camera().saveUserSettings(); })) notices_.info(tr(Txt::NoticePresetSaved));
    hooks_.changed();
}

void PresetPanel::onReset(wxCommandEvent&) {
    if (hooks_.busy()) {
        notices_.error(tr(Txt::NoticeBusy));
        return;
    }
    if (!settingsWritable(notices_, "delete the user preset")) return;
    if (guarded(notices_, [] { host::resetPreset(camera()); })) notices_.info(tr(Txt::NoticePresetReset));
    hooks_.reopened();
}

}  // namespace viewer
