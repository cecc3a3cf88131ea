// The live picture, scaled to fit while keeping its aspect ratio.
#pragma once

#include "ChangeRate.h"
#include "PictureSampler.h"

#include <wx/bitmap.h>
#include <wx/panel.h>
#include <wx/stopwatch.h>

#include <cstdint>

namespace viewer {

class PicturePanel : public wxPanel {
public:
    explicit PicturePanel(wxWindow* parent);

    // Fetches the camera's picture; `area` is the part of the sensor that the
    // camera reads out, at the buffer's top-left corner.
    void refresh(Extent area);
    // No camera: shows `message` in place of the picture.
    void clear(const wxString& message);

    double changesPerSecond() const { return rate_.perSecond(); }
    bool hasPicture() const { return bitmap_.IsOk(); }
    // Where the picture is drawn, in this panel's coordinates.
    wxRect pictureRect() const;
    // Writes what the panel shows as a PNG file.
    bool saveTo(const wxString& file) const;

private:
    void onPaint(wxPaintEvent& event);
    void draw(wxDC& dc) const;

    wxBitmap bitmap_;
    wxString message_;
    ChangeRate rate_;
    wxStopWatch clock_;
    std::uint64_t lastChecksum_ = 0;
    bool haveChecksum_ = false;
    wxSize drawnBox_;
    Extent drawnArea_;
};

}  // namespace viewer
