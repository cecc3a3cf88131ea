// The live picture: fitted to the window with its aspect ratio, or at 1, 2 or
// 4 screen pixels a sensor pixel with panning (drag or scroll); clipped pixels
// can flash; the pointer's sensor pixel is reported.
#pragma once

#include "ChangeRate.h"
#include "PictureSampler.h"

#include <Nimbrel_model/FrameStream.h>
#include <wx/graphics.h>
#include <wx/panel.h>
#include <wx/stopwatch.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace viewer {

// The sensor pixel under the pointer and its value when last seen.
struct PointerPixel {
    bool valid = false;
    int x = 0;
    int y = 0;
    unsigned char rgb[3] = {0, 0, 0};
};

class PicturePanel : public wxPanel {
public:
    explicit PicturePanel(wxWindow* parent);

    // Shows `fresh`, a new frame of the camera, or (nullptr) keeps the last
    // one, redrawn when the window needs it. New frames are drawn at most
    // about 60 times a second; the latest one waits for its turn.
    void refresh(const Nimbrel_model::Frame* fresh);
    // The frame on show, if any.
    const std::optional<Nimbrel_model::Frame>& frame() const { return frame_; }
    // No camera: shows `message` in place of the picture.
    void clear(const wxString& message);

    // 0: fit to the window; 1, 2 or 4 screen pixels a sensor pixel.
    void setZoom(int zoom);
    int zoom() const { return zoom_; }
    void setClippingOverlay(bool on);
    // Runs when the pointer moves over the picture or leaves it.
    void onPointer(std::function<void()> moved) { pointerMoved_ = std::move(moved); }
    const PointerPixel& pointer() const { return pointer_; }

    double changesPerSecond() const { return rate_.perSecond(); }
    // Changes per second from the end of the first second to the latest refresh.
    double changesPerSecondAfterStart() const { return rate_.averageAfterWarmUp(); }
    bool hasPicture() const { return hasPicture_; }
    // Where the picture is drawn, in this panel's coordinates.
    wxRect pictureRect() const;
    // Writes what the panel shows as a PNG file.
    bool saveTo(const wxString& file) const;

private:
    void onPaint(wxPaintEvent& event);
    void draw(wxDC& dc) const;
    void render(const Nimbrel_model::Frame& frame);
    void markClipped(std::uint8_t* pixels, std::size_t count) const;
    bool flashOn() const;
    void readPointer(const Nimbrel_model::Frame& frame);
    void pointerAt(wxPoint where);
    void panBy(int dx, int dy);

    wxGraphicsBitmap picture_;
    bool hasPicture_ = false;
    wxString message_;
    ChangeRate rate_;
    wxStopWatch clock_;
    std::optional<Nimbrel_model::Frame> frame_;
    bool redraw_ = true;          // the next refresh draws even an unchanged picture
    bool pendingChange_ = false;  // a changed picture waits for its turn to be drawn
    double drawCredit_ = 1.0;
    long lastCreditMs_ = 0;
    bool drawnFlash_ = false;
    wxSize drawnBox_;
    Extent drawnArea_;
    wxRect drawn_;  // where the bitmap goes, panel coordinates (may exceed the panel)
    int zoom_ = 0;
    wxPoint pan_;  // sensor pixel at the view's top-left corner when zoomed
    bool centrePending_ = false;
    bool overlay_ = false;
    bool dragging_ = false;
    wxPoint dragFrom_;
    wxPoint mouse_{-1, -1};
    PointerPixel pointer_;
    std::function<void()> pointerMoved_;
};

}  // namespace viewer
