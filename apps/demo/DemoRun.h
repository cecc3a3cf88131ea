// The demo's job from opening the camera to closing it, in the order the
// command line cannot change: report, settings, optimisation, preset,
// snapshot, recording.
#pragma once

#include "Options.h"

#include <ostream>

namespace demo {

class DemoRun {
public:
    // terminal: standard output is a terminal, so progress may redraw a line.
    DemoRun(DemoOptions options, std::ostream& out, bool terminal);
    // Throws Qel::Exception for camera and configuration failures,
    // UsageError for an unknown camera, Interrupted for a stop signal that
    // arrives outside a recording (one during a recording only ends it),
    // std::exception for the rest.
    void execute();

private:
    DemoOptions options_;
    std::ostream& out_;
    bool terminal_;
};

}  // namespace demo
