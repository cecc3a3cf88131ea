// The application object: reads the command line, loads the configuration,
// opens the camera and creates the window.
#pragma once

#include "Options.h"
#include "ViewerListener.h"

#include <wx/app.h>
#include <wx/weakref.h>

namespace viewer {

class MainFrame;

class ViewerApp : public wxApp {
public:
    bool OnInit() override;
    int OnRun() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;
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

wxDECLARE_APP(viewer::ViewerApp);
