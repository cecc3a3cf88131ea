// --selftest-control: moves a few controls as a user would, through their
// event handlers, and checks that each then shows what the camera reports.
#pragma once

#include <cstdio>

namespace viewer {

class AreaPanel;
class ControlPanel;

// Prints one line per control to `out`; true when every control passed.
// The optimisation, whose end comes later, is checked by the window.
bool runControlSelfTest(ControlPanel& controls, AreaPanel& area, std::FILE* out);

}  // namespace viewer
