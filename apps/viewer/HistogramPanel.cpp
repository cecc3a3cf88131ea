#include "HistogramPanel.h"

#include <wx/dcbuffer.h>
#include <wx/sizer.h>
#include <wx/statbox.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace viewer {
namespace {

const wxColour kBackground(30, 32, 36);
const wxColour kCurveColors[3] = {wxColour(235, 70, 70), wxColour(70, 210, 90), wxColour(80, 140, 255)};
const wxColour kGreyCurve(220, 220, 220);

}  // namespace

HistogramPanel::HistogramPanel(wxWindow* parent, std::function<void(bool)> overlayChanged) : wxPanel(parent, wxID_ANY) {
    auto* box = labels_.add(new wxStaticBox(this, wxID_ANY, wxString()), Txt::BoxHistogram);
    auto* column = new wxStaticBoxSizer(box, wxVERTICAL);
    curves_ = new wxWindow(box, wxID_ANY, wxDefaultPosition, FromDIP(wxSize(256, 110)));
    curves_->SetBackgroundStyle(wxBG_STYLE_PAINT);
    curves_->Bind(wxEVT_PAINT, &HistogramPanel::onPaintCurves, this);
    shares_ = new wxStaticText(box, wxID_ANY, wxString());
    overlay_ = labels_.add(new wxCheckBox(box, wxID_ANY, wxString()), Txt::ShowClipping);
    column->Add(curves_, 0, wxEXPAND | wxALL, 2);
    column->Add(shares_, 0, wxALL, 2);
    column->Add(overlay_, 0, wxALL, 2);
    SetSizer(column);
    overlay_->Bind(wxEVT_CHECKBOX, [this, overlayChanged = std::move(overlayChanged)](wxCommandEvent&) {
        overlayChanged(overlay_->GetValue());
    });
    showShares();
}

void HistogramPanel::show(const Histogram& histogram) {
    histogram_ = histogram;
    showShares();
    curves_->Refresh(false);
}

void HistogramPanel::relabel() {
    labels_.relabel();
    showShares();
}

wxRect HistogramPanel::curvesOnScreen() const {
    return {curves_->ClientToScreen(wxPoint(0, 0)), curves_->GetClientSize()};
}

void HistogramPanel::showShares() {
    shares_->SetLabel(wxString::Format(tr(Txt::ClippedShares), number(histogram_.clippedLow * 100.0, 2),
                                       number(histogram_.clippedHigh * 100.0, 2)));
}

void HistogramPanel::onPaintCurves(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(curves_);
    dc.SetBackground(wxBrush(kBackground));
    dc.Clear();
    const wxSize size = curves_->GetClientSize();
    if (histogram_.channels == 0 || size.GetWidth() < 2 || size.GetHeight() < 2) return;
    // The clipped ends often dwarf the rest: they are given as numbers, and the
    // curves are scaled to the inner bins, logarithmically so that a few tall
    // peaks (flat areas of one colour) do not flatten everything else.
    std::uint32_t tallest = 1;
    for (int c = 0; c < histogram_.channels; ++c)
        tallest =
            std::max(tallest, *std::max_element(histogram_.counts[c].begin() + 1, histogram_.counts[c].end() - 1));
    const double height = size.GetHeight() - 1;
    std::vector<wxPoint> points(256);
    for (int c = 0; c < histogram_.channels; ++c) {
        for (int bin = 0; bin < 256; ++bin) {
            const double share = std::min(1.0, std::log1p(histogram_.counts[c][bin]) / std::log1p(tallest));
            points[bin] =
                wxPoint(bin * (size.GetWidth() - 1) / 255, static_cast<int>(std::lround(height * (1.0 - share))));
        }
        dc.SetPen(wxPen(histogram_.channels == 1 ? kGreyCurve : kCurveColors[c], 1));
        dc.DrawLines(static_cast<int>(points.size()), points.data());
    }
}

}  // namespace viewer
