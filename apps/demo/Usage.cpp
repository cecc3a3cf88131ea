#include "Usage.h"

namespace demo {

std::string usageText() {
    return R"(Usage: nimbrel-demo [OPTIONS]

Opens the camera, prints its sensor and current settings, applies what the
options ask, and can save a snapshot and record an AVI file.

Without options it opens the default camera, saves snapshot.jpg and records a
5-second demo.avi at 25 frames per second in the current directory.

Camera:
  --camera NAME       simulated camera to connect before opening it
                      (SIM1280-C, SIM1280-M, SIM2592-C, SIM4912-M; the
                      environment variable UESIM_CAMERA chooses it too)

Settings (each prints the value the camera reports afterwards):
  --aoi WxH           area of interest, e.g. 640x480 (centred by the camera)
  --fps F             camera frame rate, and the recording rate (default 25)
  --exposure MS       exposure time in milliseconds
  --gain N            master gain; the colour gains stay as they are
  --optimize          let the camera pick its best pixel clock and frame rate
                      (runs on a worker thread; the demo waits for its end)
  --save-preset       store the settings as this camera's user preset
  --reset-preset      delete the user preset and reopen the camera with the
                      factory values

Output:
  --snapshot FILE     save the live picture as a JPEG file
  --record FILE       record an AVI file (Motion JPEG)
  --seconds N         recording length in seconds (default 5; 0: until the
                      size limit or Ctrl-C)
  --max-size MB       recording size limit in megabytes (default 1024)
  --replay R          playback frame rate written into the file (default:
                      the recording rate)

Ctrl-C (or SIGTERM) during a recording stops it and leaves a complete file;
at any other time it closes the camera and ends the demo.
The configuration is read from res/config.xml beside the executable.

Exit status: 0 on success, 1 when the camera or a file operation fails,
2 for a bad command line, 130 (SIGINT) or 143 (SIGTERM) when a signal ended
the demo outside a recording.

  --help, -h          show this help
)";
}

std::string usageHint() { return "Try 'nimbrel-demo --help' for the options."; }

}  // namespace demo
