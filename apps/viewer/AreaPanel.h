// The area of interest: a size centred on the sensor, or the full sensor.
#pragma once

#include "Labels.h"
#include "Notices.h"
#include "PictureSampler.h"

#include <wx/panel.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <functional>

namespace viewer {

class AreaPanel : public wxPanel {
public:
    AreaPanel(wxWindow* parent, Notices& notices, std::function<void()> changed);

    void readBack();
    void relabel();
    void enableFor(bool cameraOpen);
    // The size the camera reports, as last read back.
    Extent area() const { return area_; }
    // Fills the size fields and presses Apply through its event handler.
    void simulateApply(int width, int height);
    Extent shown() const { return {width_->GetValue(), height_->GetValue()}; }

private:
    void onApply(wxCommandEvent& event);
    void onFullSensor(wxCommandEvent& event);
    void showOffset();

    Notices& notices_;
    std::function<void()> changed_;
    Labels labels_;
    wxSpinCtrl* width_ = nullptr;
    wxSpinCtrl* height_ = nullptr;
    wxStaticText* offset_ = nullptr;
    wxWindow* apply_ = nullptr;
    wxWindow* full_ = nullptr;
    Extent area_;
    int x_ = 0;
    int y_ = 0;
};

}  // namespace viewer
