#include "SimulatorReadings.h"

#include "CommandLine.h"

#if NIMBREL_SIMULATOR
#include <ueye_sim/Control.h>
#endif

namespace host {

#if NIMBREL_SIMULATOR

namespace {
const std::string& firstCamera() {
    static const std::string first = ueye_sim::connectedCamera();
    return first;
}
}  // namespace

void chooseCamera(const std::string& name) {
    firstCamera();  // noted before the first choice changes it
    if (ueye_sim::connectCamera(name)) return;
    std::string known;
    for (const auto& model : ueye_sim::catalogue()) known += (known.empty() ? "" : ", ") + model.name;
    throw UsageError("unknown camera '" + name + "' (known: " + known + ")");
}

void chooseFirstCamera() { ueye_sim::connectCamera(firstCamera()); }

std::string pixelClockReading() { return std::to_string(ueye_sim::state().pixelClock) + " MHz (simulator's reading)"; }

#else

void chooseCamera(const std::string& name) {
    throw UsageError("cannot choose camera '" + name + "': this build opens the first camera the SDK finds");
}

void chooseFirstCamera() {}

std::string pixelClockReading() { return "not read (the module does not report it)"; }

#endif

}  // namespace host
