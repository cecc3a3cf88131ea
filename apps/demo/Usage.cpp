#include "Usage.h"

#include "Options.h"

#include <wx/cmdline.h>

namespace demo {

std::string usageText() {
    wxCmdLineParser parser;
    describeOptions(parser);
    wxChar program[] = L"nimbrel-demo";
    wxChar* argv[] = {program};
    parser.SetCmdLine(1, argv);
    return parser.GetUsageString().utf8_string() + R"(
Ctrl-C (or SIGTERM) during a recording stops it and leaves a complete file;
at any other time it closes the camera and ends the demo.
The configuration is read from res/config.xml beside the executable.

Exit status: 0 on success, 1 when the camera or a file operation fails,
2 for a bad command line, 130 (SIGINT) or 143 (SIGTERM) when a signal ended
the demo outside a recording.
)";
}

std::string usageHint() { return "Try 'nimbrel-demo --help' for the options."; }

}  // namespace demo
