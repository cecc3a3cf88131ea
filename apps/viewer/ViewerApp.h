// The application object: loads the configuration, opens the camera and
// creates the window. The command line was read before it exists.
#pragma once

#include "Options.h"
#include "ViewerListener.h"

#include <wx/app.h>
#include <wx/weakref.h>

namespace viewer {

class MainFrame;

class ViewerApp : public wxApp {
public:
    explicit ViewerApp(Options options) : options_(std::move(options)) {}
    bool OnInit() override;
    int OnRun() override;
    // A module exception escaping an event handler (the recording timer's)
    // is shown, and the loop goes on.
    bool OnExceptionInMainLoop() override;

private:
    Options options_;
    ViewerListener listener_;  // outlives the window: the worker thread may still report
    wxWeakRef<MainFrame> frame_;
    int exitCode_ = 0;
};

}  // namespace viewer
