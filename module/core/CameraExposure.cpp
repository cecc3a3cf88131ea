// Exposure, frame rate and brightness.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include "core/Narrow.h"
#include "sdk/Failures.h"
#include "ueye.h"

namespace Nimbrel_model {

void Camera::setExposure(const double& milliseconds) {
    double applied = 0.0;
    checkSdk(is_SetExposureTime(camHandle, milliseconds, &applied), "is_SetExposureTime");
    Config::getInstance()->setConfSaved(false);
}

double Camera::getExposure() const {
    double value = 0.0;
    checkSdk(is_SetExposureTime(camHandle, IS_GET_EXPOSURE_TIME, &value), "is_SetExposureTime");
    return value;
}

void Camera::setDefaultExposure() {
    const double exposure = Config::getInstance()->getExposure(getName());
    double applied = 0.0;
    checkSdk(is_SetExposureTime(camHandle, exposure, &applied), "is_SetExposureTime");
    Config::getInstance()->setConfSaved(false);
}

void Camera::setFrameRate(const double& fps) {
    double applied = 0.0;
    checkSdk(is_SetFrameRate(camHandle, fps, &applied), "is_SetFrameRate");
    Config::getInstance()->setConfSaved(false);
}

double Camera::getFrameRate() const {
    double value = 0.0;
    checkSdk(is_SetFrameRate(camHandle, IS_GET_FRAMERATE, &value), "is_SetFrameRate");
    return value;
}

void Camera::setDefaultFrameRate() {
    double value = 0.0;
    checkSdk(is_SetFrameRate(camHandle, IS_GET_DEFAULT_FRAMERATE, &value), "is_SetFrameRate");
    checkSdk(is_SetFrameRate(camHandle, value, &value), "is_SetFrameRate");
    Config::getInstance()->setConfSaved(false);
}

void Camera::setBrightness(const int& brightness) {
    checkSdk(is_SetBrightness(camHandle, brightness), "is_SetBrightness");
    Config::getInstance()->setConfSaved(false);
}

int Camera::getBrightness() const { return is_SetBrightness(camHandle, IS_GET_BRIGHTNESS); }

void Camera::setDefaultBrightness() {
    const long brightness = Config::getInstance()->getBrightness(getName());
    checkSdk(is_SetBrightness(camHandle, clampToInt(brightness)), "is_SetBrightness");
}

}  // namespace Nimbrel_model
