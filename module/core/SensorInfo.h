// Access to the sensor information record that Camera keeps as raw bytes.
#pragma once

#include "ueye.h"

#include <cstring>

namespace Nimbrel_model {

inline SENSORINFO readSensorInfo(const unsigned char (&raw)[80]) {
    SENSORINFO info;
    std::memcpy(&info, raw, sizeof info);
    return info;
}

inline void writeSensorInfo(unsigned char (&raw)[80], const SENSORINFO& info) { std::memcpy(raw, &info, sizeof info); }

}  // namespace Nimbrel_model
