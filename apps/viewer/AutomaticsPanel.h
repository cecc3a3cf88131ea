// White balance and pixel clock optimisation: work the camera does on its own
// once started.
#pragma once

#include "Labels.h"
#include "Notices.h"
#include "ViewerListener.h"

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include <functional>

namespace viewer {

class AutomaticsPanel : public wxPanel {
public:
    AutomaticsPanel(wxWindow* parent, Notices& notices, ViewerListener& listener, std::function<void()> changed);

    void relabel();
    void enableFor(bool cameraOpen);
    bool whiteBalanceRunning() const { return whiteBalance_; }
    // The camera was opened again, which switches white balance off.
    void cameraReopened();
    // On the main thread, once the worker thread has reported.
    void optimizationEnded();
    // Presses Optimise through its event handler.
    void simulateOptimize();
    bool optimizeEnabled() const { return optimize_->IsEnabled(); }

private:
    void onWhiteBalance(bool on);
    void onOptimize(wxCommandEvent& event);
    void showState();

    Notices& notices_;
    ViewerListener& listener_;
    std::function<void()> changed_;
    Labels labels_;
    wxButton* start_ = nullptr;
    wxButton* stop_ = nullptr;
    wxStaticText* state_ = nullptr;
    wxButton* optimize_ = nullptr;
    bool cameraOpen_ = false;
    bool whiteBalance_ = false;  // the module keeps no record of it
    bool optimizing_ = false;
};

}  // namespace viewer
