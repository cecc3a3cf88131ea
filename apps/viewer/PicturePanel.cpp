#include "PicturePanel.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <algorithm>
#include <memory>

namespace viewer {
namespace {

const wxColour kBackground(40, 42, 46);
constexpr double kDrawsPerMs = 0.06;  // at most about 60 pictures a second, the display's usual rate
constexpr double kMaxDrawCredit = 2.0;
constexpr long kFlashMs = 400;
constexpr int kWheelStep = 64;  // screen pixels a wheel notch pans
const std::uint8_t kClippedHigh[3] = {255, 0, 255};
const std::uint8_t kClippedLow[3] = {0, 90, 255};

}  // namespace

PicturePanel::PicturePanel(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(320, 240));
    Bind(wxEVT_PAINT, &PicturePanel::onPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        redraw_ = true;
        Refresh(false);
        event.Skip();
    });
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
        if (zoom_ > 0 && !HasCapture()) {
            dragging_ = true;
            dragFrom_ = event.GetPosition();
            CaptureMouse();
        }
    });
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) {
        dragging_ = false;
        if (HasCapture()) ReleaseMouse();
    });
    Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { dragging_ = false; });
    Bind(wxEVT_MOTION, [this](wxMouseEvent& event) {
        const wxPoint at = event.GetPosition();
        if (dragging_ && zoom_ > 0) {
            // Move by whole sensor pixels; the remainder stays for the next motion.
            const int dx = (dragFrom_.x - at.x) / zoom_;
            const int dy = (dragFrom_.y - at.y) / zoom_;
            panBy(dx, dy);
            dragFrom_ -= wxPoint(dx * zoom_, dy * zoom_);
        }
        pointerAt(at);
    });
    Bind(wxEVT_MOUSEWHEEL, [this](wxMouseEvent& event) {
        if (zoom_ == 0 || event.GetWheelDelta() == 0) return;
        const int step = -event.GetWheelRotation() * kWheelStep / event.GetWheelDelta() / zoom_;
        const bool sideways = event.GetWheelAxis() == wxMOUSE_WHEEL_HORIZONTAL || event.ShiftDown();
        panBy(sideways ? step : 0, sideways ? 0 : step);
    });
    Bind(wxEVT_LEAVE_WINDOW, [this](wxMouseEvent&) {
        mouse_ = wxPoint(-1, -1);
        pointer_.valid = false;
        if (pointerMoved_) pointerMoved_();
    });
}

void PicturePanel::refresh(const Nimbrel_model::Frame* fresh) {
    if (fresh) frame_ = *fresh;
    if (!frame_) return;
    const Nimbrel_model::Frame& frame = *frame_;
    readPointer(frame);

    const long now = clock_.Time();
    const double seconds = static_cast<double>(now) / 1000.0;
    drawCredit_ = std::min(kMaxDrawCredit, drawCredit_ + static_cast<double>(now - lastCreditMs_) * kDrawsPerMs);
    lastCreditMs_ = now;
    pendingChange_ = pendingChange_ || fresh != nullptr;
    const bool geometry =
        GetClientSize() != drawnBox_ || frame.width() != drawnArea_.width || frame.height() != drawnArea_.height;
    const bool flash = overlay_ && flashOn() != drawnFlash_;
    const bool wanted = pendingChange_ || redraw_ || geometry || flash || !hasPicture_;
    // The camera is often slower than the display: draw only what changed, and
    // a fast camera no more often than the display shows.
    if (!wanted || drawCredit_ < 1.0) {
        rate_.record(seconds, false);
        return;
    }
    drawCredit_ -= 1.0;
    rate_.record(seconds, pendingChange_);
    pendingChange_ = false;
    redraw_ = false;
    render(frame);
}

void PicturePanel::render(const Nimbrel_model::Frame& frame) {
    const Extent area{frame.width(), frame.height()};
    const std::uint8_t* raw = frame.data();
    const std::size_t pitch = frame.stride();
    const int bytesPerPixel = frame.isColor() ? 3 : 1;
    const wxSize box = GetClientSize();
    drawnBox_ = box;
    drawnArea_ = area;
    drawnFlash_ = overlay_ && flashOn();
    Extent source = area;
    Extent target;
    if (zoom_ == 0) {
        target = fitInside(area, {box.GetWidth(), box.GetHeight()});
    } else {
        source.width = std::min(area.width, (box.GetWidth() + zoom_ - 1) / zoom_);
        source.height = std::min(area.height, (box.GetHeight() + zoom_ - 1) / zoom_);
        if (centrePending_) pan_ = wxPoint((area.width - source.width) / 2, (area.height - source.height) / 2);
        centrePending_ = false;
        pan_.x = std::clamp(pan_.x, 0, area.width - source.width);
        pan_.y = std::clamp(pan_.y, 0, area.height - source.height);
        raw += static_cast<std::size_t>(pan_.y) * pitch + static_cast<std::size_t>(pan_.x) * bytesPerPixel;
        target = {source.width * zoom_, source.height * zoom_};
    }
    if (target.width <= 0 || target.height <= 0) return;
    drawn_ = wxRect(std::max(0, (box.GetWidth() - target.width) / 2),
                    std::max(0, (box.GetHeight() - target.height) / 2), target.width, target.height);
    wxImage image(target.width, target.height, false);  // owns its pixels
    sampleInto(raw, pitch, source, image.GetData(), target, bytesPerPixel);
    if (drawnFlash_) markClipped(image.GetData(), static_cast<std::size_t>(target.width) * target.height);
    // Converted once here into what the paint handler draws as it is.
    picture_ = wxGraphicsRenderer::GetDefaultRenderer()->CreateBitmapFromImage(image);
    hasPicture_ = true;
    message_.clear();
    if (mouse_.x >= 0) pointerAt(mouse_);
    Refresh(false);
}

void PicturePanel::markClipped(std::uint8_t* pixels, std::size_t count) const {
    for (std::uint8_t* pixel = pixels; pixel < pixels + count * 3; pixel += 3) {
        const std::uint8_t* mark = nullptr;
        if (pixel[0] == 255 || pixel[1] == 255 || pixel[2] == 255)
            mark = kClippedHigh;
        else if (pixel[0] == 0 || pixel[1] == 0 || pixel[2] == 0)
            mark = kClippedLow;
        if (mark) std::copy(mark, mark + 3, pixel);
    }
}

bool PicturePanel::flashOn() const { return clock_.Time() / kFlashMs % 2 == 0; }

void PicturePanel::readPointer(const Nimbrel_model::Frame& frame) {
    if (!pointer_.valid || pointer_.x >= frame.width() || pointer_.y >= frame.height()) return;
    const int bytesPerPixel = frame.isColor() ? 3 : 1;
    const std::uint8_t* pixel = frame.data() + static_cast<std::size_t>(pointer_.y) * frame.stride() +
                                static_cast<std::size_t>(pointer_.x) * bytesPerPixel;
    if (bytesPerPixel == 3) {
        std::copy(pixel, pixel + 3, pointer_.rgb);
    } else {
        std::fill(pointer_.rgb, pointer_.rgb + 3, *pixel);
    }
}

void PicturePanel::pointerAt(wxPoint where) {
    mouse_ = where;
    const wxRect shown = pictureRect();
    pointer_.valid = hasPicture_ && shown.Contains(where) && drawn_.GetWidth() > 0 && drawn_.GetHeight() > 0;
    if (pointer_.valid) {
        const wxPoint inside = where - drawn_.GetTopLeft();
        if (zoom_ == 0) {
            pointer_.x = static_cast<int>(static_cast<long long>(inside.x) * drawnArea_.width / drawn_.GetWidth());
            pointer_.y = static_cast<int>(static_cast<long long>(inside.y) * drawnArea_.height / drawn_.GetHeight());
        } else {
            pointer_.x = pan_.x + inside.x / zoom_;
            pointer_.y = pan_.y + inside.y / zoom_;
        }
    }
    if (pointerMoved_) pointerMoved_();
}

void PicturePanel::panBy(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    pan_ += wxPoint(dx, dy);
    // Clamped to the picture when it is drawn.
    pan_.x = std::clamp(pan_.x, 0, std::max(0, drawnArea_.width - 1));
    pan_.y = std::clamp(pan_.y, 0, std::max(0, drawnArea_.height - 1));
    redraw_ = true;
}

void PicturePanel::setZoom(int zoom) {
    if (zoom == zoom_) return;
    const wxSize box = GetClientSize();
    // Keep the pixel under the pointer in the middle of the view, else the picture's middle.
    centrePending_ = zoom > 0 && !pointer_.valid;
    if (zoom > 0 && pointer_.valid)
        pan_ = wxPoint(pointer_.x - box.GetWidth() / (2 * zoom), pointer_.y - box.GetHeight() / (2 * zoom));
    zoom_ = zoom;
    redraw_ = true;
}

void PicturePanel::setClippingOverlay(bool on) {
    overlay_ = on;
    redraw_ = true;
}

void PicturePanel::clear(const wxString& message) {
    picture_ = wxGraphicsBitmap();
    hasPicture_ = false;
    message_ = message;
    redraw_ = true;
    Refresh(false);
}

wxRect PicturePanel::pictureRect() const {
    if (!hasPicture_) return {};
    return drawn_.Intersect(wxRect(GetClientSize()));
}

bool PicturePanel::saveTo(const wxString& file) const {
    const wxSize box = GetClientSize();
    if (box.GetWidth() <= 0 || box.GetHeight() <= 0) return false;
    wxBitmap picture(box);
    {
        wxMemoryDC dc(picture);
        draw(dc);
    }
    return picture.ConvertToImage().SaveFile(file, wxBITMAP_TYPE_PNG);
}

void PicturePanel::onPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    draw(dc);
}

void PicturePanel::draw(wxDC& dc) const {
    const wxRect box(GetClientSize());
    const std::unique_ptr<wxGraphicsContext> gc(hasPicture_ ? wxGraphicsContext::CreateFromUnknownDC(dc) : nullptr);
    if (gc) {
        // Only the margins need the background: the picture covers the rest.
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(kBackground));
        const wxRect shown = pictureRect();
        dc.DrawRectangle(0, 0, box.width, shown.y);
        dc.DrawRectangle(0, shown.GetBottom() + 1, box.width, box.height - shown.GetBottom() - 1);
        dc.DrawRectangle(0, shown.y, shown.x, shown.height);
        dc.DrawRectangle(shown.GetRight() + 1, shown.y, box.width - shown.GetRight() - 1, shown.height);
        gc->SetInterpolationQuality(wxINTERPOLATION_NONE);
        gc->DrawBitmap(picture_, drawn_.x, drawn_.y, drawn_.width, drawn_.height);
        return;
    }
    dc.SetBackground(wxBrush(kBackground));
    dc.Clear();
    if (!message_.empty()) {
        dc.SetTextForeground(wxColour(220, 220, 220));
        dc.SetFont(GetFont());
        const wxSize box = GetClientSize();
        dc.DrawLabel(message_, wxRect(16, 16, box.GetWidth() - 32, box.GetHeight() - 32), wxALIGN_CENTER);
    }
}

}  // namespace viewer
