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
    double frameRate = -1.0;     // the camera's frame rate set at start, if > 0
    int gain = -1;               // the camera's master gain set at start, if >= 0
    wxString snapshot;           // save one full-resolution picture and quit
    int zoom = 0;                // 0: fit to the window, else 1, 2 or 4 screen pixels a sensor pixel

    // Scripted runs (or NIMBREL_NO_DIALOGS set) never open a modal dialog.
    // They print their measured rates and the status bar when they end.
    bool scripted() const;
};

void describeOptions(wxCmdLineParser& parser);
// False when a value is out of range; `error` then says which.
bool readOptions(const wxCmdLineParser& parser, Options& options, wxString& error);

}  // namespace viewer
