// Gains, automatic gain, exposure, frame rate and brightness.
#pragma once

#include "Labels.h"
#include "Notices.h"

#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

class wxGridBagSizer;

#include <functional>
#include <utility>
#include <vector>

namespace viewer {

class ControlPanel : public wxPanel {
public:
    // `changed` runs after every camera call, successful or not, so that every
    // control can show what the camera now reports.
    ControlPanel(wxWindow* parent, Notices& notices, std::function<void()> changed);

    // Shows the values the camera reports.
    void readBack();
    // Gains only, for automatic gain and white balance, which move them on
    // their own; a slider the user holds is left alone.
    void readBackGains(bool skipHeld);
    void relabel() { labels_.relabel(); }
    void enableFor(bool cameraOpen, bool color);
    bool autoGainOn() const { return autoGain_->GetValue(); }

    enum class Control { MasterGain, Brightness, Exposure, FrameRate, AutoGain };
    // Sets a widget as a user would and runs its event handler.
    void simulateInput(Control control, double value);
    double shown(Control control) const;

private:
    wxSlider* addSlider(wxWindow* box, Txt label, int maximum);
    wxSpinCtrlDouble* addSpin(wxWindow* box, Txt label, double minimum, double maximum, double step, int digits);
    void showValues();
    void applyRanges();
    bool userHolds(const wxWindow* control) const;

    void onGain(wxCommandEvent& event);
    void onAutoGain(wxCommandEvent& event);
    void onExposure(wxSpinDoubleEvent& event);
    void onFrameRate(wxSpinDoubleEvent& event);
    void onBrightness(wxCommandEvent& event);

    Notices& notices_;
    std::function<void()> changed_;
    Labels labels_;
    wxSlider* master_ = nullptr;
    wxSlider* red_ = nullptr;
    wxSlider* green_ = nullptr;
    wxSlider* blue_ = nullptr;
    wxCheckBox* autoGain_ = nullptr;
    wxSpinCtrlDouble* exposure_ = nullptr;
    wxSpinCtrlDouble* frameRate_ = nullptr;
    wxSlider* brightness_ = nullptr;
    wxGridBagSizer* grid_ = nullptr;
    int rows_ = 0;
    // The number beside each slider.
    std::vector<std::pair<wxSlider*, wxStaticText*>> values_;
};

}  // namespace viewer
