#include "ControlPanel.h"

#include "Guarded.h"

#include <Nimbrel_model/Camera.h>

#include <wx/gbsizer.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

namespace viewer {
namespace {

void showInt(wxSlider* slider, double value) {
    const int v = std::clamp(static_cast<int>(std::lround(value)), slider->GetMin(), slider->GetMax());
    if (slider->GetValue() != v) slider->SetValue(v);
}

void showDouble(wxSpinCtrlDouble* spin, double value) {
    if (std::abs(spin->GetValue() - value) > 1e-9) spin->SetValue(value);
}

}  // namespace

ControlPanel::ControlPanel(wxWindow* parent, Notices& notices, std::function<void()> changed)
    : wxPanel(parent, wxID_ANY), notices_(notices), changed_(std::move(changed)) {
    auto* box = labels_.add(new wxStaticBox(this, wxID_ANY, wxString()), Txt::BoxCamera);
    auto* outer = new wxStaticBoxSizer(box, wxVERTICAL);
    grid_ = new wxGridBagSizer(2, 8);

    master_ = addSlider(box, Txt::MasterGain, 100);
    red_ = addSlider(box, Txt::RedGain, 100);
    green_ = addSlider(box, Txt::GreenGain, 100);
    blue_ = addSlider(box, Txt::BlueGain, 100);
    autoGain_ = labels_.add(new wxCheckBox(box, wxID_ANY, wxString()), Txt::AutoGain);
    grid_->Add(autoGain_, wxGBPosition(rows_++, 1), wxGBSpan(1, 2), wxALIGN_CENTER_VERTICAL | wxBOTTOM, 4);
    exposure_ = addSpin(box, Txt::Exposure, 0.01, 10000.0, 0.5, 3);
    frameRate_ = addSpin(box, Txt::FrameRate, 0.1, 1000.0, 1.0, 2);
    brightness_ = addSlider(box, Txt::Brightness, 255);
    grid_->AddGrowableCol(1);
    outer->Add(grid_, 1, wxEXPAND | wxALL, 4);
    SetSizer(outer);

    for (wxSlider* gain : {master_, red_, green_, blue_}) gain->Bind(wxEVT_SLIDER, &ControlPanel::onGain, this);
    autoGain_->Bind(wxEVT_CHECKBOX, &ControlPanel::onAutoGain, this);
    exposure_->Bind(wxEVT_SPINCTRLDOUBLE, &ControlPanel::onExposure, this);
    frameRate_->Bind(wxEVT_SPINCTRLDOUBLE, &ControlPanel::onFrameRate, this);
    brightness_->Bind(wxEVT_SLIDER, &ControlPanel::onBrightness, this);
}

wxSlider* ControlPanel::addSlider(wxWindow* box, Txt label, int maximum) {
    grid_->Add(labels_.add(new wxStaticText(box, wxID_ANY, wxString()), label), wxGBPosition(rows_, 0), wxDefaultSpan,
               wxALIGN_CENTER_VERTICAL);
    auto* slider = new wxSlider(box, wxID_ANY, 0, 0, maximum, wxDefaultPosition, wxSize(150, -1));
    grid_->Add(slider, wxGBPosition(rows_, 1), wxDefaultSpan, wxEXPAND | wxALIGN_CENTER_VERTICAL);
    auto* value = new wxStaticText(box, wxID_ANY, "0", wxDefaultPosition, wxSize(30, -1), wxALIGN_RIGHT);
    grid_->Add(value, wxGBPosition(rows_++, 2), wxDefaultSpan, wxALIGN_CENTER_VERTICAL);
    values_.emplace_back(slider, value);
    return slider;
}

wxSpinCtrlDouble* ControlPanel::addSpin(wxWindow* box, Txt label, double minimum, double maximum, double step,
                                        int digits) {
    grid_->Add(labels_.add(new wxStaticText(box, wxID_ANY, wxString()), label), wxGBPosition(rows_, 0), wxDefaultSpan,
               wxALIGN_CENTER_VERTICAL);
    auto* spin = new wxSpinCtrlDouble(box, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                      minimum, maximum, minimum, step);
    spin->SetDigits(digits);
    grid_->Add(spin, wxGBPosition(rows_++, 1), wxGBSpan(1, 2), wxEXPAND);
    return spin;
}

void ControlPanel::showValues() {
    for (const auto& [slider, value] : values_) value->SetLabel(wxString::Format("%d", slider->GetValue()));
}

bool ControlPanel::userHolds(const wxWindow* control) const {
    // Leave alone a control the user is working with, or it would jump under the mouse.
    return FindFocus() == control || wxWindow::GetCapture() == control;
}

// The controls offer what the camera accepts now: a value outside it never
// reaches the camera. The exposure's range follows the frame rate.
void ControlPanel::applyRanges() {
    const auto slider = [](wxSlider* control, const Nimbrel_model::SettingRange& range) {
        const int low = static_cast<int>(std::ceil(range.min));
        const int high = static_cast<int>(std::floor(range.max));
        if (control->GetMin() != low || control->GetMax() != high) control->SetRange(low, high);
    };
    const auto spin = [](wxSpinCtrlDouble* control, const Nimbrel_model::SettingRange& range) {
        if (control->GetMin() != range.min || control->GetMax() != range.max) control->SetRange(range.min, range.max);
        if (range.step > 0.0 && control->GetIncrement() != range.step) control->SetIncrement(range.step);
    };
    slider(master_, camera().getGainRange());
    const Nimbrel_model::SettingRange colour = camera().getColorGainRange();
    for (wxSlider* gain : {red_, green_, blue_}) slider(gain, colour);
    slider(brightness_, camera().getBrightnessRange());
    spin(frameRate_, camera().getFrameRateRange());
    spin(exposure_, camera().getExposureRange());
}

void ControlPanel::readBack() {
    guarded(notices_, [this] {
        applyRanges();
        readBackGains(false);
        autoGain_->SetValue(camera().isGainAuto());
        showDouble(exposure_, camera().getExposure());
        showDouble(frameRate_, camera().getFrameRate());
        showInt(brightness_, camera().getBrightness());
    });
    showValues();
}

void ControlPanel::readBackGains(bool skipHeld) {
    const auto show = [this, skipHeld](wxSlider* slider, double value) {
        if (!skipHeld || !userHolds(slider)) showInt(slider, value);
    };
    show(master_, camera().getGain());
    show(red_, camera().getRedGain());
    show(green_, camera().getGreenGain());
    show(blue_, camera().getBlueGain());
    showValues();
}

void ControlPanel::enableFor(bool cameraOpen, bool color) {
    for (wxWindow* control : std::initializer_list<wxWindow*>{master_, autoGain_, exposure_, frameRate_, brightness_})
        control->Enable(cameraOpen);
    for (wxWindow* control : {red_, green_, blue_}) control->Enable(cameraOpen && color);
}

void ControlPanel::onGain(wxCommandEvent&) {
    guarded(notices_,
            [this] { camera().setGain(master_->GetValue(), red_->GetValue(), green_->GetValue(), blue_->GetValue()); });
    changed_();
}

void ControlPanel::onAutoGain(wxCommandEvent&) {
    guarded(notices_, [this] { camera().setAutoGain(autoGain_->GetValue()); });
    changed_();
}

void ControlPanel::onExposure(wxSpinDoubleEvent&) {
    guarded(notices_, [this] { camera().setExposure(exposure_->GetValue()); });
    changed_();
}

void ControlPanel::onFrameRate(wxSpinDoubleEvent&) {
    guarded(notices_, [this] { camera().setFrameRate(frameRate_->GetValue()); });
    changed_();
}

void ControlPanel::onBrightness(wxCommandEvent&) {
    guarded(notices_, [this] { camera().setBrightness(brightness_->GetValue()); });
    changed_();
}

void ControlPanel::simulateInput(Control control, double value) {
    switch (control) {
        case Control::MasterGain:
        case Control::Brightness: {
            wxSlider* slider = control == Control::MasterGain ? master_ : brightness_;
            slider->SetValue(static_cast<int>(std::lround(value)));
            wxCommandEvent event(wxEVT_SLIDER, slider->GetId());
            event.SetEventObject(slider);
            event.SetInt(slider->GetValue());
            slider->HandleWindowEvent(event);
            break;
        }
        case Control::Exposure:
        case Control::FrameRate: {
            wxSpinCtrlDouble* spin = control == Control::Exposure ? exposure_ : frameRate_;
            spin->SetValue(value);
            wxSpinDoubleEvent event(wxEVT_SPINCTRLDOUBLE, spin->GetId(), spin->GetValue());
            event.SetEventObject(spin);
            spin->HandleWindowEvent(event);
            break;
        }
        case Control::AutoGain: {
            autoGain_->SetValue(value != 0.0);
            wxCommandEvent event(wxEVT_CHECKBOX, autoGain_->GetId());
            event.SetEventObject(autoGain_);
            event.SetInt(autoGain_->GetValue() ? 1 : 0);
            autoGain_->HandleWindowEvent(event);
            break;
        }
    }
}

double ControlPanel::shown(Control control) const {
    switch (control) {
        case Control::MasterGain: return master_->GetValue();
        case Control::Brightness: return brightness_->GetValue();
        case Control::Exposure: return exposure_->GetValue();
        case Control::FrameRate: return frameRate_->GetValue();
        case Control::AutoGain: return autoGain_->GetValue() ? 1.0 : 0.0;
    }
    return 0.0;
}

}  // namespace viewer
