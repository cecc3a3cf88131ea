// Red, green and blue histograms (one grey curve for a monochrome camera) of
// a sample of the live picture, the clipped shares, and the switch that marks
// clipped pixels in the picture.
#pragma once

#include "Histogram.h"
#include "Labels.h"

#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <functional>

namespace viewer {

class HistogramPanel : public wxPanel {
public:
    // `overlayChanged` runs with the switch's new state.
    HistogramPanel(wxWindow* parent, std::function<void(bool)> overlayChanged);

    void show(const Histogram& histogram);
    void relabel();
    const Histogram& histogram() const { return histogram_; }
    // The curves' area on screen, for scripted checks.
    wxRect curvesOnScreen() const;

private:
    void onPaintCurves(wxPaintEvent& event);
    void showShares();

    Labels labels_;
    wxWindow* curves_ = nullptr;
    wxStaticText* shares_ = nullptr;
    wxCheckBox* overlay_ = nullptr;
    Histogram histogram_;
};

}  // namespace viewer
