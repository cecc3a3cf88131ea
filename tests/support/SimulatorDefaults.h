// Every test program starts from the simulator's defaults: a fault injection
// or a trace left exported in the shell must not change what the suite sees.
// (CTest cannot give the discovered tests more than one variable.)
#pragma once

#include <stdlib.h>

namespace testsupport {

inline void clearSimulatorOverrides() {
    unsetenv("UESIM_FAIL");
    unsetenv("UESIM_TRACE");
}

}  // namespace testsupport
