// The viewer's command line.
#pragma once

#include <wx/string.h>

class wxCmdLineParser;

namespace viewer {

struct Options {
    double quitAfter = -1.0;     // seconds; < 0: run until the user quits
    wxString camera;             // simulator camera connected before opening
    wxString screenshot;         // PNG of the picture area, written on closing
    wxString configDir;          // folder holding res/config.xml, else the program's
    wxString record;             // start a recording into this file at once
    double recordSeconds = -1.0; // with record: its length, else the stored one
    double recordFps = -1.0;     // with record: its frame rate, else the stored one
    bool selfTestControl = false;

    // Scripted runs (or NIMBREL_NO_DIALOGS set) never open a modal dialog.
    bool scripted() const;
};

void describeOptions(wxCmdLineParser& parser);
// False when a value is out of range; `error` then says which.
bool readOptions(const wxCmdLineParser& parser, Options& options, wxString& error);

}  // namespace viewer
