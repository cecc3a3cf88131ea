// What the hosts read from the simulated SDK beyond the module, in one place:
// the choice of camera and the pixel clock. A vendor build falls back to what
// any camera allows.
#pragma once

#include <string>

namespace host {

// A camera id (digits) makes the next opening ask the SDK for that camera, in
// every build. A name connects that simulated camera, which the next opening
// takes as the first; UsageError for a name the simulator does not know
// (listing the ones it does), and for any name in a vendor build.
void chooseCamera(const std::string& name);
// Connects again the camera that was connected when the process began (the
// first camera) when chooseCamera connected another by name since, and asks
// for the first camera by id. Only the latter in a vendor build.
void chooseFirstCamera();

// The current pixel clock as a host shows it.
std::string pixelClockReading();

}  // namespace host
