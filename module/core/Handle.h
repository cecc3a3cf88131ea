// The camera handle as the SDK takes it.
#pragma once

#include "ueye.h"

#include <cstdint>

namespace Nimbrel_model {

inline HIDS toHids(void* handle) { return static_cast<HIDS>(reinterpret_cast<std::uintptr_t>(handle)); }

}  // namespace Nimbrel_model
