// How gains, exposure, gamma and brightness turn the scene into pixel values.
//
// signal  = scene x (exposure / 10 ms) x (1 + master/50) x (1 + colour gain/50)
// pixel   = 255 x (signal/255, clipped to 1) ^ (100/gamma) + (brightness - 128)/2
//
// Colour gains act only on colour sensors.
#pragma once

#include "CameraSettings.h"

#include <array>
#include <cstdint>

namespace ueye_sim::detail {

constexpr double kReferenceExposureMs = 10.0;

struct ToneCurves {
    std::array<std::uint8_t, 256> red;
    std::array<std::uint8_t, 256> green;
    std::array<std::uint8_t, 256> blue;
};

ToneCurves toneCurves(const CameraSettings& settings, bool colorSensor);

}  // namespace ueye_sim::detail
