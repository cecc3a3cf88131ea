#include "CameraChoice.h"

#include <pybind11/pybind11.h>
#include "CommandLine.h"
#include "SimulatorReadings.h"

namespace nimbrel_python {

void chooseCamera(const std::optional<std::string>& name) {
    if (!name) {
        host::chooseFirstCamera();  // never the one an earlier open chose
        return;
    }
    try {
        host::chooseCamera(*name);
    } catch (const host::UsageError& e) {
        throw pybind11::value_error(e.what());
    }
}

}  // namespace nimbrel_python
