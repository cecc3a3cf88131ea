#include "PicturePanel.h"

#include <Nimbrel_model/Camera.h>

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/image.h>

#include <algorithm>
#include <memory>

namespace viewer {
namespace {
const wxColour kBackground(40, 42, 46);
}

PicturePanel::PicturePanel(wxWindow* parent) : wxPanel(parent, wxID_ANY) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetMinSize(wxSize(320, 240));
    Bind(wxEVT_PAINT, &PicturePanel::onPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Refresh(false);
        event.Skip();
    });
}

void PicturePanel::refresh(Extent area) {
    auto* camera = Nimbrel_model::Camera::getInstance();
    const int maxWidth = camera->getMaxWidth();
    const int maxHeight = camera->getMaxHeight();
    const bool colour = camera->isColor();
    unsigned char* raw = camera->getActiveImage();
    // A monochrome picture is a fresh array that is ours to release; a colour
    // one is the camera's own buffer.
    const std::unique_ptr<unsigned char[]> owned(colour ? nullptr : raw);
    if (!raw || maxWidth <= 0 || maxHeight <= 0) return;

    area.width = std::clamp(area.width, 1, maxWidth);
    area.height = std::clamp(area.height, 1, maxHeight);
    const std::size_t pitch = static_cast<std::size_t>(maxWidth) * 3;

    const std::uint64_t checksum = sampledChecksum(raw, pitch, area);
    const bool changed = !haveChecksum_ || checksum != lastChecksum_;
    rate_.record(clock_.Time() / 1000.0, haveChecksum_ && changed);
    lastChecksum_ = checksum;
    haveChecksum_ = true;

    const wxSize box = GetClientSize();
    // The camera is often slower than the display: redraw only what changed.
    if (!changed && bitmap_.IsOk() && box == drawnBox_ && area.width == drawnArea_.width &&
        area.height == drawnArea_.height)
        return;
    drawnBox_ = box;
    drawnArea_ = area;
    const Extent fitted = fitInside(area, {box.GetWidth(), box.GetHeight()});
    if (fitted.width <= 0) return;
    wxImage image(fitted.width, fitted.height, false);  // owns its pixels
    sampleInto(raw, pitch, area, image.GetData(), fitted);
    bitmap_ = wxBitmap(image);
    message_.clear();
    Refresh(false);
}

void PicturePanel::clear(const wxString& message) {
    bitmap_ = wxBitmap();
    message_ = message;
    haveChecksum_ = false;
    Refresh(false);
}

wxRect PicturePanel::pictureRect() const {
    if (!bitmap_.IsOk()) return {};
    const wxSize box = GetClientSize();
    const wxSize size = bitmap_.GetSize();
    return {(box.GetWidth() - size.GetWidth()) / 2, (box.GetHeight() - size.GetHeight()) / 2, size.GetWidth(),
            size.GetHeight()};
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
    dc.SetBackground(wxBrush(kBackground));
    dc.Clear();
    if (bitmap_.IsOk()) {
        dc.DrawBitmap(bitmap_, pictureRect().GetTopLeft());
    } else if (!message_.empty()) {
        dc.SetTextForeground(wxColour(220, 220, 220));
        dc.SetFont(GetFont());
        const wxSize box = GetClientSize();
        dc.DrawLabel(message_, wxRect(16, 16, box.GetWidth() - 32, box.GetHeight() - 32), wxALIGN_CENTER);
    }
}

}  // namespace viewer
