// Automatic white balance: runs in the camera until stopped.
#include <Nimbrel_model/Camera.h>

#include "sdk/Failures.h"
#include "ueye.h"

namespace Nimbrel_model {

namespace {

void switchWhiteBalance(HIDS handle, double on) {
    double second = 0.0;
    checkSdk(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_WHITEBALANCE, &on, &second), "is_SetAutoParameter");
}

}  // namespace

void Camera::doWhiteBalance() { switchWhiteBalance(camHandle, 1.0); }

void Camera::stopWhiteBalance() { switchWhiteBalance(camHandle, 0.0); }

}  // namespace Nimbrel_model
