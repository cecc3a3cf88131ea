#include "PictureTools.h"

#include <wx/sizer.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace viewer {
namespace {
constexpr int kZooms[] = {0, 1, 2, 4};
}

PictureTools::PictureTools(wxWindow* parent, std::function<void()> snapshot, std::function<void(int)> zoomChosen)
    : wxPanel(parent, wxID_ANY) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    snapshot_ = labels_.add(new wxButton(this, wxID_ANY, wxString()), Txt::Snapshot);
    auto* label = labels_.add(new wxStaticText(this, wxID_ANY, wxString()), Txt::Zoom);
    zoom_ = new wxChoice(this, wxID_ANY);
    for (int zoom : kZooms) zoom_->Append(zoomName(zoom));
    zoom_->SetSelection(0);
    row->Add(snapshot_, 0, wxALL, 3);
    row->AddSpacer(12);
    row->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    row->Add(zoom_, 0, wxALL, 3);
    SetSizer(row);
    snapshot_->Bind(wxEVT_BUTTON, [snapshot = std::move(snapshot)](wxCommandEvent&) { snapshot(); });
    zoom_->Bind(wxEVT_CHOICE, [this, zoomChosen = std::move(zoomChosen)](wxCommandEvent&) {
        const int chosen = zoom_->GetSelection();
        if (chosen >= 0) zoomChosen(kZooms[chosen]);
    });
}

wxString PictureTools::zoomName(int zoom) { return zoom == 0 ? tr(Txt::ZoomFit) : wxString::Format("%d:1", zoom); }

void PictureTools::relabel() {
    labels_.relabel();
    for (unsigned i = 0; i < std::size(kZooms); ++i) zoom_->SetString(i, zoomName(kZooms[i]));
    Layout();
}

void PictureTools::showZoom(int zoom) {
    const auto found = std::find(std::begin(kZooms), std::end(kZooms), zoom);
    if (found != std::end(kZooms)) zoom_->SetSelection(static_cast<int>(found - std::begin(kZooms)));
}

void PictureTools::enableFor(bool cameraOpen) {
    snapshot_->Enable(cameraOpen);
    zoom_->Enable(cameraOpen);
}

}  // namespace viewer
