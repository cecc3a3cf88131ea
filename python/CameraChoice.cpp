#include "CameraChoice.h"

#include <pybind11/pybind11.h>

#if NIMBREL_SIMULATOR
#include <ueye_sim/Control.h>
#endif

namespace nimbrel_python {

void chooseCamera(const std::optional<std::string>& name) {
    if (!name) return;
#if NIMBREL_SIMULATOR
    if (ueye_sim::connectCamera(*name)) return;
    std::string models;
    for (const auto& model : ueye_sim::catalogue()) models += (models.empty() ? "" : ", ") + model.name;
    throw pybind11::value_error("no simulated camera '" + *name + "': the simulator has " + models + " (or none)");
#else
    throw pybind11::value_error("camera='" + *name + "' chooses a simulated camera; this build opens the first camera "
                                "the camera SDK finds");
#endif
}

}  // namespace nimbrel_python
