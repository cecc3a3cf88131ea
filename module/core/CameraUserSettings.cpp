// The camera side of the user preset: saving the live values, and going back
// to the factory values.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include "recording/OptimizationTracker.h"
#include "ueye.h"

namespace Nimbrel_model {

void Camera::saveUserSettings() {
    Config* config = Config::getInstance();
    const hstring name = getName();

    config->setUserMasterGain(name, is_SetHardwareGain(camHandle, IS_GET_MASTER_GAIN, 0, 0, 0));
    config->setUserRedGain(name, is_SetHardwareGain(camHandle, IS_GET_RED_GAIN, 0, 0, 0));
    config->setUserGreenGain(name, is_SetHardwareGain(camHandle, IS_GET_GREEN_GAIN, 0, 0, 0));
    config->setUserBlueGain(name, is_SetHardwareGain(camHandle, IS_GET_BLUE_GAIN, 0, 0, 0));
    config->setUserAutoGain(name, isGainAuto());
    config->setUserBrightness(name, is_SetBrightness(camHandle, IS_GET_BRIGHTNESS));
    config->setUserExposure(name, getExposure());
    config->setUserFramerate(name, getFrameRate());
    const int height = getHeight();
    const int width = getWidth();
    config->setUserSizes(name, width, height);
    config->setConfSaved(true);
}

void Camera::resetUserSettings() {
    Config* config = Config::getInstance();
    // Reopening the camera under a running recording or optimisation would
    // lose the recording and hand the worker a dead handle: finish both first.
    if (recording) stopRecording();
    waitForOptimizations();
    config->clearUserSettings(getName());
    init();
    config->setConfSaved(true);
}

}  // namespace Nimbrel_model
