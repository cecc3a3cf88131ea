#include "Options.h"

#include <wx/cmdline.h>
#include <wx/utils.h>

namespace viewer {

bool Options::scripted() const {
    wxString value;
    return quitAfter >= 0.0 || selfTestControl || !record.empty() || wxGetEnv("NIMBREL_NO_DIALOGS", &value);
}

void describeOptions(wxCmdLineParser& parser) {
    parser.AddOption("", "quit-after", "close the viewer cleanly after SECONDS", wxCMD_LINE_VAL_DOUBLE);
    parser.AddOption("", "camera", "connect the simulated camera NAME before opening it");
    parser.AddOption("", "screenshot", "save the picture area as a PNG FILE when the viewer closes");
    parser.AddOption("", "config-dir", "read res/config.xml from DIR instead of the program's folder");
    parser.AddOption("", "record", "start recording into FILE at once, quit when the camera ends it");
    parser.AddOption("", "seconds", "with --record: length of the recording", wxCMD_LINE_VAL_DOUBLE);
    parser.AddOption("", "fps", "with --record: frames per second taken", wxCMD_LINE_VAL_DOUBLE);
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
    if (parser.Found("quit-after") && options.quitAfter < 0.0) {
        error = "--quit-after needs a time of 0 seconds or more";
        return false;
    }
    if (parser.Found("fps") && options.recordFps <= 0.0) {
        error = "--fps needs a positive frame rate";
        return false;
    }
    return true;
}

}  // namespace viewer
