// The viewer's one reach into the simulated SDK: which camera to connect.
#pragma once

#include <string>

namespace viewer {

// Connects the named simulated camera. False for a name the simulator does not
// know, and always in a vendor build, which opens the camera the SDK finds.
bool chooseCamera(const std::string& name);

}  // namespace viewer
