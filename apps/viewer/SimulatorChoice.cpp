#include "SimulatorChoice.h"

#if NIMBREL_SIMULATOR
#include <ueye_sim/Control.h>
#endif

namespace viewer {

#if NIMBREL_SIMULATOR
bool chooseCamera(const std::string& name) { return ueye_sim::connectCamera(name); }
#else
bool chooseCamera(const std::string&) { return false; }
#endif

}  // namespace viewer
