// The row above the picture: snapshot, and the picture's scale.
#pragma once

#include "Labels.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <functional>

namespace viewer {

class PictureTools : public wxPanel {
public:
    // `zoomChosen` gets 0 (fit) or 1, 2, 4 screen pixels a sensor pixel.
    PictureTools(wxWindow* parent, std::function<void()> snapshot, std::function<void(int)> zoomChosen);

    void relabel();
    void showZoom(int zoom);
    void enableFor(bool cameraOpen);

    // 0, 1, 2 or 4 as text in the current language ("Fit", "1:1", ...).
    static wxString zoomName(int zoom);

private:
    Labels labels_;
    wxButton* snapshot_ = nullptr;
    wxChoice* zoom_ = nullptr;
};

}  // namespace viewer
