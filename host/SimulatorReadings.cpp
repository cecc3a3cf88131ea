#include "SimulatorReadings.h"

#include "CameraOpener.h"
#include "CommandLine.h"

#if NIMBREL_SIMULATOR
#include <ueye_sim/Control.h>
#endif

namespace host {

namespace {

// A camera id: digits only, at most six of them.
bool isCameraId(const std::string& text) {
    return !text.empty() && text.size() <= 6 && text.find_first_not_of("0123456789") == std::string::npos;
}

// Takes an id and returns true; anything else means the first camera by id.
bool tookCameraId(const std::string& text) {
    chooseCameraId(isCameraId(text) ? std::stoi(text) : 0);
    return isCameraId(text);
}

}  // namespace

#if NIMBREL_SIMULATOR

namespace {
const std::string& firstCamera() {
    static const std::string first = ueye_sim::connectedCamera();
    return first;
}
// Whether a name has replaced the cameras connected when the process began.
bool connectedByName = false;
}  // namespace

void chooseCamera(const std::string& name) {
    firstCamera();  // noted before the first choice changes it
    if (tookCameraId(name)) return;
    if (ueye_sim::connectCamera(name)) {
        connectedByName = true;
        return;
    }
    std::string known;
    for (const auto& model : ueye_sim::catalogue()) known += (known.empty() ? "" : ", ") + model.name;
    throw UsageError("unknown camera '" + name + "' (known: " + known + ")");
}

void chooseFirstCamera() {
    chooseCameraId(0);
    // Reconnecting only after a name: UESIM_CAMERAS's list stays whole.
    if (connectedByName) ueye_sim::connectCamera(firstCamera());
    connectedByName = false;
}

std::string pixelClockReading() { return std::to_string(ueye_sim::state().pixelClock) + " MHz (simulator's reading)"; }

#else

void chooseCamera(const std::string& name) {
    if (tookCameraId(name)) return;
    throw UsageError("cannot choose camera '" + name + "' by name: this build opens a camera by its id (1, 2, ...)");
}

void chooseFirstCamera() { chooseCameraId(0); }

std::string pixelClockReading() { return "not read (the module does not report it)"; }

#endif

}  // namespace host
