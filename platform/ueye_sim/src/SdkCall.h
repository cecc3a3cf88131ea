// Shared by the SDK functions: each passes its gate, then asks the camera.
#pragma once

#include "CallGate.h"
#include "VirtualCamera.h"

namespace ueye_sim::detail {

// Runs `work` unless an injected failure or scripted result takes its place.
template <typename Work>
int gated(CallGate& call, Work&& work) {
    if (const auto forced = call.forced()) return call.done(*forced);
    return call.done(work());
}

inline VirtualCamera& camera() { return VirtualCamera::instance(); }

}  // namespace ueye_sim::detail
