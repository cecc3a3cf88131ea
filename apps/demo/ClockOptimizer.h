// Runs the camera's pixel clock optimisation and waits for its end. The
// module calls optimizeEnd on its worker thread; the listener only raises an
// atomic flag, which the main thread sees while it pumps the event loop.
#pragma once

#include "EventPump.h"

#include <Nimbrel_model/Camera.h>

#include <chrono>
#include <ostream>

namespace demo {

// Throws when the end does not arrive within `timeout`, and
// host::Interrupted when a stop signal comes first.
void optimizePixelClock(Nimbrel_model::Camera& camera, host::EventPump& pump, std::ostream& out,
                        std::chrono::milliseconds timeout = std::chrono::seconds(15));

}  // namespace demo
