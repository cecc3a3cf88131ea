#include "AreaPanel.h"

#include "Guarded.h"

#include <Nimbrel_model/Camera.h>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

namespace viewer {

AreaPanel::AreaPanel(wxWindow* parent, Notices& notices, std::function<void()> changed)
    : wxPanel(parent, wxID_ANY), notices_(notices), changed_(std::move(changed)) {
    auto* box = labels_.add(new wxStaticBox(this, wxID_ANY, wxString()), Txt::BoxArea);
    auto* outer = new wxStaticBoxSizer(box, wxVERTICAL);

    auto* sizes = new wxFlexGridSizer(2, wxSize(8, 2));
    sizes->AddGrowableCol(1);
    const auto addSize = [&](Txt label) {
        sizes->Add(labels_.add(new wxStaticText(box, wxID_ANY, wxString()), label), 0, wxALIGN_CENTER_VERTICAL);
        auto* spin =
            new wxSpinCtrl(box, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 1, 100000, 1);
        sizes->Add(spin, 1, wxEXPAND);
        return spin;
    };
    width_ = addSize(Txt::Width);
    height_ = addSize(Txt::Height);
    outer->Add(sizes, 0, wxEXPAND | wxALL, 4);

    auto* actions = new wxBoxSizer(wxHORIZONTAL);
    apply_ = labels_.add(new wxButton(box, wxID_ANY, wxString()), Txt::Apply);
    full_ = labels_.add(new wxButton(box, wxID_ANY, wxString()), Txt::FullSensor);
    offset_ = new wxStaticText(box, wxID_ANY, wxString());
    actions->Add(apply_, 0, wxRIGHT, 4);
    actions->Add(full_, 0, wxRIGHT, 8);
    actions->Add(offset_, 0, wxALIGN_CENTER_VERTICAL);
    outer->Add(actions, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 4);
    SetSizer(outer);

    apply_->Bind(wxEVT_BUTTON, &AreaPanel::onApply, this);
    full_->Bind(wxEVT_BUTTON, &AreaPanel::onFullSensor, this);
}

void AreaPanel::readBack() {
    guarded(notices_, [this] {
        area_ = {camera().getWidth(), camera().getHeight()};
        x_ = camera().getPosX();
        y_ = camera().getPosY();
        width_->SetValue(area_.width);
        height_->SetValue(area_.height);
    });
    showOffset();
}

void AreaPanel::relabel() {
    labels_.relabel();
    showOffset();
}

void AreaPanel::showOffset() { offset_->SetLabel(wxString::Format(tr(Txt::Offset), x_, y_)); }

void AreaPanel::enableFor(bool cameraOpen) {
    if (cameraOpen) {
        // What the camera accepts; a size between steps is rounded down by the module.
        guarded(notices_, [this] {
            const Nimbrel_model::SettingRange width = camera().getWidthRange();
            const Nimbrel_model::SettingRange height = camera().getHeightRange();
            width_->SetRange(static_cast<int>(width.min), static_cast<int>(width.max));
            height_->SetRange(static_cast<int>(height.min), static_cast<int>(height.max));
            if (width.step >= 1.0) width_->SetIncrement(static_cast<int>(width.step));
            if (height.step >= 1.0) height_->SetIncrement(static_cast<int>(height.step));
        });
    }
    for (wxWindow* control : {static_cast<wxWindow*>(width_), static_cast<wxWindow*>(height_), apply_, full_})
        control->Enable(cameraOpen);
}

void AreaPanel::onApply(wxCommandEvent&) {
    guarded(notices_, [this] { camera().setAOI(width_->GetValue(), height_->GetValue()); });
    changed_();
}

void AreaPanel::simulateApply(int width, int height) {
    width_->SetValue(width);
    height_->SetValue(height);
    wxCommandEvent press(wxEVT_BUTTON, apply_->GetId());
    press.SetEventObject(apply_);
    apply_->HandleWindowEvent(press);
}

void AreaPanel::onFullSensor(wxCommandEvent&) {
    guarded(notices_, [] { camera().setDefaultAOI(); });
    changed_();
}

}  // namespace viewer
