// Gains, automatic controls, brightness, gamma, black level and colour correction.
#include "VirtualCamera.h"

#include <algorithm>
#include <cmath>

namespace ueye_sim::detail {
namespace {

constexpr int kGammaMax = 1000;
constexpr double kReferenceMax = 255.0;

void setGain(int& gain, int value) {
    if (value != IS_IGNORE_PARAMETER) gain = std::clamp(value, 0, kGainMax);
}

}  // namespace

int VirtualCamera::hardwareGain(HIDS handle, int master, int red, int green, int blue) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (master == IS_GET_MASTER_GAIN || master == IS_GET_RED_GAIN || master == IS_GET_GREEN_GAIN ||
        master == IS_GET_BLUE_GAIN) {
        if (red != 0 || green != 0 || blue != 0) return IS_INVALID_PARAMETER;
        switch (master) {
            case IS_GET_MASTER_GAIN: return settings_.masterGain;
            case IS_GET_RED_GAIN: return settings_.redGain;
            case IS_GET_GREEN_GAIN: return settings_.greenGain;
            default: return settings_.blueGain;
        }
    }
    setGain(settings_.masterGain, master);
    setGain(settings_.redGain, red);
    setGain(settings_.greenGain, green);
    setGain(settings_.blueGain, blue);
    return IS_SUCCESS;
}

int VirtualCamera::autoParameter(HIDS handle, int param, double* value, double* /*value2*/) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!value || std::isnan(*value)) return IS_INVALID_PARAMETER;
    switch (param) {
        case IS_SET_AUTO_REFERENCE: settings_.autoReference = std::clamp(*value, 0.0, kReferenceMax); break;
        case IS_SET_ENABLE_AUTO_GAIN: settings_.autoGain = *value != 0.0; break;
        case IS_GET_ENABLE_AUTO_GAIN: *value = settings_.autoGain ? 1.0 : 0.0; break;
        case IS_SET_ENABLE_AUTO_SHUTTER: settings_.autoShutter = *value != 0.0; break;
        case IS_SET_ENABLE_AUTO_WHITEBALANCE: settings_.autoWhiteBalance = *value != 0.0; break;
        default: return IS_INVALID_PARAMETER;
    }
    return IS_SUCCESS;
}

int VirtualCamera::brightness(HIDS handle, int value) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (value == IS_GET_BRIGHTNESS) return settings_.brightness;
    settings_.brightness = std::clamp(value, 0, kBrightnessMax);
    return IS_SUCCESS;
}

int VirtualCamera::setGamma(HIDS handle, int gamma) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (gamma == IS_GET_GAMMA) return settings_.gamma;
    settings_.gamma = std::clamp(gamma, 1, kGammaMax);
    return IS_SUCCESS;
}

int VirtualCamera::setBlackLevel(HIDS handle, int enable, int offset, int /*reserved*/) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    settings_.blackLevelOn = enable != 0;
    settings_.blackLevelOffset = std::clamp(offset, 0, kBrightnessMax);
    return IS_SUCCESS;
}

int VirtualCamera::setColorCorrection(HIDS handle, int mode, const double* /*factors*/) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    settings_.colorCorrection = mode;
    return IS_SUCCESS;
}

}  // namespace ueye_sim::detail
