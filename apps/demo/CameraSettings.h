// Applies the settings the command line asks for, and shows what the
// camera made of each.
#pragma once

#include "Options.h"

#include <Nimbrel_model/Camera.h>

#include <ostream>

namespace demo {

// Area first (it bounds the timing), then frame rate (it bounds the
// exposure), then exposure and gain. A value outside the camera's range
// throws host::OutOfRange before it reaches the camera.
void applySettings(Nimbrel_model::Camera& camera, const DemoOptions& options, std::ostream& out);

}  // namespace demo
