// --selftest-control: moves a few controls as a user would, through their
// event handlers, and checks that each then shows what the camera reports.
#pragma once

#include <cstdio>
#include <vector>

class wxTopLevelWindow;
class wxWindow;

namespace viewer {

class AreaPanel;
class ControlPanel;

// Prints one line per control to `out`; true when every control passed.
// The optimisation, whose end comes later, is checked by the window.
bool runControlSelfTest(ControlPanel& controls, AreaPanel& area, std::FILE* out);

// The window fits its display's work area and each of `panels` (children of
// one scrolled sidebar) can be scrolled wholly into view. Prints one line.
bool runLayoutSelfTest(const wxTopLevelWindow& window, const std::vector<wxWindow*>& panels, std::FILE* out);

}  // namespace viewer
