// The viewer's command line: the shared options and the viewer's own.
#pragma once

#include "CommandLine.h"

#include <wx/string.h>

#include <optional>
#include <string>
#include <vector>

namespace viewer {

struct Options {
    bool help = false;
    std::optional<std::string> camera;  // simulator camera connected before opening
    std::optional<std::string> appDir;  // folder holding res/config.xml
    double quitAfter = -1.0;            // seconds; < 0: run until the user quits
    wxString screenshot;                // PNG of the picture area, written on closing
    wxString record;                    // start a recording into this file at once
    double recordSeconds = 0.0;         // with record: its length
    std::optional<double> recordFps;    // with record: default the camera's rate
    std::optional<long> replayFps;      // with record: default the recording rate
    double maxSizeMb = 0.0;             // with record: its size limit
    bool selfTestControl = false;
    double frameRate = -1.0;   // the camera's frame rate set at start, if > 0
    int gain = -1;             // the camera's master gain set at start, if >= 0
    bool savePreset = false;   // press Save once the start settings are applied
    bool resetPreset = false;  // reset the preset, also when it keeps the camera closed
    wxString snapshot;         // save one full-resolution picture and quit
    int zoom = 0;              // 0: fit to the window, else 1, 2 or 4 screen pixels a sensor pixel

    // Scripted runs (or NIMBREL_NO_DIALOGS set) never open a modal dialog.
    // They print their measured rates and the status bar when they end.
    bool scripted() const;
    // Runs whose exit status says whether anything failed.
    bool reportsFailures() const { return quitAfter >= 0.0 || !record.empty(); }
};

const host::CommandLine& commandLine();
// Arguments without the program's name; host::UsageError for a malformed
// command line. Read before the window system starts, so that --help and
// usage errors need no display.
Options parseOptions(const std::vector<std::string>& args);

}  // namespace viewer
