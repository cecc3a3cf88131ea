// Master and colour gains, automatic gain.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include "core/Narrow.h"
#include "sdk/Failures.h"
#include "ueye.h"

namespace Nimbrel_model {

namespace {
// The factory master gain that stands for automatic gain (Config::getMasterGain).
const long kFactoryAutoGain = -1;
}  // namespace

void Camera::setGain(const int& master, const int& red, const int& green, const int& blue) {
    checkSdk(is_SetHardwareGain(camHandle, master, red, green, blue), "is_SetHardwareGain");
    Config::getInstance()->setConfSaved(false);
}

double Camera::getGain() const { return is_SetHardwareGain(camHandle, IS_GET_MASTER_GAIN, 0, 0, 0); }

double Camera::getRedGain() const { return is_SetHardwareGain(camHandle, IS_GET_RED_GAIN, 0, 0, 0); }

double Camera::getGreenGain() const { return is_SetHardwareGain(camHandle, IS_GET_GREEN_GAIN, 0, 0, 0); }

double Camera::getBlueGain() const { return is_SetHardwareGain(camHandle, IS_GET_BLUE_GAIN, 0, 0, 0); }

void Camera::setAutoGain(const bool& on) {
    double value = on ? 1.0 : 0.0;
    double second = 0.0;
    checkSdk(is_SetAutoParameter(camHandle, IS_SET_ENABLE_AUTO_GAIN, &value, &second), "is_SetAutoParameter");
}

bool Camera::isGainAuto() const {
    double value = 0.0;
    double second = 0.0;
    checkSdk(is_SetAutoParameter(camHandle, IS_GET_ENABLE_AUTO_GAIN, &value, &second), "is_SetAutoParameter");
    return value != 0.0;
}

void Camera::setDefaultGain() {
    Config* config = Config::getInstance();
    const hstring name = getName();
    const long master = config->getMasterGain(name);
    const long red = config->getRedGain(name);
    const long green = config->getGreenGain(name);
    const long blue = config->getBlueGain(name);
    checkSdk(is_SetHardwareGain(camHandle, clampToInt(master), clampToInt(red), clampToInt(green), clampToInt(blue)),
             "is_SetHardwareGain");
    if (master == kFactoryAutoGain) setAutoGain(true);
}

}  // namespace Nimbrel_model
