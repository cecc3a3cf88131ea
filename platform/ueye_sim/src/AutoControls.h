// Automatic gain and white balance: small steps after each frame, so the
// gains drift toward their goal over a second or two as a real camera's do.
#pragma once

#include "CameraSettings.h"
#include "FrameRenderer.h"

namespace ueye_sim::detail {

// Auto gain moves the master gain toward a mean grey of the auto reference;
// auto white balance moves the colour gains toward equal channel means.
void applyAutoControls(CameraSettings& settings, const FrameMeans& means);

}  // namespace ueye_sim::detail
