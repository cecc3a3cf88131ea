#include "Options.h"

#include "Snapshot.h"

#include <wx/cmdline.h>
#include <wx/utils.h>

#include <algorithm>
#include <iterator>

namespace viewer {

bool Options::scripted() const {
    wxString value;
    return quitAfter >= 0.0 || selfTestControl || !record.empty() || !snapshot.empty() || wxGetEnv("NIMBREL_NO_DIALOGS", &value);
}

void describeOptions(wxCmdLineParser& parser) {
    parser.AddOption("", "quit-after", "close the viewer cleanly after SECONDS", wxCMD_LINE_VAL_DOUBLE);
    parser.AddOption("", "camera", "connect the simulated camera NAME before opening it");
    parser.AddOption("", "screenshot", "save the picture area as a PNG FILE when the viewer closes");
    parser.AddOption("", "config-dir", "read res/config.xml from DIR instead of the program's folder");
    parser.AddOption("", "record", "start recording into FILE at once, quit when the camera ends it");
    parser.AddOption("", "seconds", "with --record: length of the recording", wxCMD_LINE_VAL_DOUBLE);
    parser.AddOption("", "fps", "with --record: frames per second taken", wxCMD_LINE_VAL_DOUBLE);
    parser.AddOption("", "frame-rate", "set the camera's frame rate to FPS at start", wxCMD_LINE_VAL_DOUBLE);
    parser.AddOption("", "gain", "set the camera's master gain to N at start", wxCMD_LINE_VAL_NUMBER);
    parser.AddOption("", "snapshot", "save one full-resolution picture as FILE (.png or .jpg) and quit");
    parser.AddOption("", "zoom", "picture scale at start: fit, 1, 2 or 4");
    parser.AddSwitch("", "selftest-control",
                     "drive a few controls through their event handlers, print what the camera reports, quit");
}

bool readOptions(const wxCmdLineParser& parser, Options& options, wxString& error) {
    parser.Found("quit-after", &options.quitAfter);
    parser.Found("camera", &options.camera);
    parser.Found("screenshot", &options.screenshot);
    parser.Found("config-dir", &options.configDir);
    parser.Found("record", &options.record);
    parser.Found("seconds", &options.recordSeconds);
    parser.Found("fps", &options.recordFps);
    options.selfTestControl = parser.Found("selftest-control");
    parser.Found("frame-rate", &options.frameRate);
    long gain = -1;
    if (parser.Found("gain", &gain)) options.gain = static_cast<int>(std::clamp(gain, -1L, 1000L));
    parser.Found("snapshot", &options.snapshot);
    wxString zoom = "fit";
    parser.Found("zoom", &zoom);
    const long zooms[] = {1, 2, 4};
    long scale = 0;
    if (zoom != "fit" && (!zoom.ToCLong(&scale) || std::find(std::begin(zooms), std::end(zooms), scale) == std::end(zooms))) {
        error = "--zoom takes fit, 1, 2 or 4";
        return false;
    }
    options.zoom = static_cast<int>(scale);
    if (parser.Found("quit-after") && options.quitAfter < 0.0) {
        error = "--quit-after needs a time of 0 seconds or more";
        return false;
    }
    if (parser.Found("frame-rate") && options.frameRate <= 0.0) {
        error = "--frame-rate needs a positive frame rate";
        return false;
    }
    if (parser.Found("gain") && options.gain < 0) {
        error = "--gain needs a gain of 0 or more";
        return false;
    }
    if (!options.snapshot.empty() && snapshotTypeFor(options.snapshot) == wxBITMAP_TYPE_INVALID) {
        error = "--snapshot needs a file name ending in .png, .jpg or .jpeg";
        return false;
    }
    if (parser.Found("fps") && options.recordFps <= 0.0) {
        error = "--fps needs a positive frame rate";
        return false;
    }
    return true;
}

}  // namespace viewer
