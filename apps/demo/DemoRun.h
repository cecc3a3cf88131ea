// The demo's job from loading the settings to closing the camera, in the
// order the command line cannot change: report, settings, optimisation,
// preset, snapshot, recording.
#pragma once

#include "Options.h"

#include <ostream>

namespace demo {

class DemoRun {
public:
    // terminal: standard output is a terminal, so progress may redraw a line.
    DemoRun(DemoOptions options, std::ostream& out, bool terminal);
    // Runs inside a host::StopSignal scope. Throws Qel::Exception for camera
    // and configuration failures, host::Interrupted for a stop signal (after
    // a recording it ended has been finished and the camera closed),
    // std::exception for the rest.
    void execute();

private:
    DemoOptions options_;
    std::ostream& out_;
    bool terminal_;
};

}  // namespace demo
