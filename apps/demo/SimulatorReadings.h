// What the demo reads from the simulated SDK beyond the module: the camera
// choice and the pixel clock. A vendor build falls back to what any camera
// allows.
#pragma once

#include <string>

namespace demo {

// Connects the named simulated camera; UsageError for a name the simulator
// does not know, or for any name in a vendor build (the SDK opens the camera
// it finds).
void chooseCamera(const std::string& name);

// The current pixel clock as the report shows it.
std::string pixelClockReading();

}  // namespace demo
