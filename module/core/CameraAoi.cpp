// Area of interest: aligned to the camera's steps and centred on the sensor.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include "sdk/Failures.h"
#include "stream/StreamControl.h"
#include "ueye.h"

namespace Nimbrel_model {

namespace {

// A camera reporting a step of 0 or less would make the alignment divide by zero.
int usableStep(int step) { return step > 0 ? step : 1; }

struct Aoi {
    INT x = 0, y = 0, width = 0, height = 0;
};

Aoi readAoi(HIDS handle) {
    Aoi aoi;
    checkSdk(is_SetAOI(handle, IS_GET_IMAGE_AOI, &aoi.x, &aoi.y, &aoi.width, &aoi.height), "is_SetAOI");
    return aoi;
}

}  // namespace

void Camera::setAOI(const int& width, const int& height) {
    // A running frame stream takes no frame while the size changes.
    const FrameStreamPause streamPause;
    const HIDS handle = camHandle;
    double exposure = 0.0;
    checkSdk(is_SetExposureTime(handle, IS_GET_EXPOSURE_TIME, &exposure), "is_SetExposureTime");
    double frameRate = 0.0;
    checkSdk(is_SetFrameRate(handle, IS_GET_FRAMERATE, &frameRate), "is_SetFrameRate");

    checkSdk(is_SetImagePos(handle, 0, 0), "is_SetImagePos");
    const int stepX = usableStep(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_INC, IS_GET_IMAGE_POS_X_INC));
    const int stepY = usableStep(is_SetImagePos(handle, IS_GET_IMAGE_POS_Y_INC, IS_GET_IMAGE_POS_Y_INC));

    const int alignedWidth = width - width % stepX;
    const int alignedHeight = height - height % stepY;
    checkSdk(is_SetImageSize(handle, alignedWidth, alignedHeight), "is_SetImageSize");

    const int maxX = is_SetImagePos(handle, IS_GET_IMAGE_POS_X_MAX, IS_GET_IMAGE_POS_X_MAX);
    const int maxY = is_SetImagePos(handle, IS_GET_IMAGE_POS_Y_MAX, IS_GET_IMAGE_POS_Y_MAX);
    int x = maxX / 2;
    x -= x % stepX;
    int y = maxY / 2;
    y -= y % stepY;
    checkSdk(is_SetImagePos(handle, x, y), "is_SetImagePos");

    double scratch = 0.0;
    checkSdk(is_SetFrameRate(handle, frameRate, &scratch), "is_SetFrameRate");
    scratch = 0.0;
    checkSdk(is_SetExposureTime(handle, exposure, &scratch), "is_SetExposureTime");
    Config::getInstance()->setConfSaved(false);
}

void Camera::setDefaultAOI() {
    const FrameStreamPause streamPause;
    INT x = 0, y = 0, width = getMaxWidth(), height = getMaxHeight();
    checkSdk(is_SetAOI(camHandle, IS_SET_IMAGE_AOI, &x, &y, &width, &height), "is_SetAOI");
}

int Camera::getWidth() const { return readAoi(camHandle).width; }

int Camera::getHeight() const { return readAoi(camHandle).height; }

int Camera::getPosX() const { return readAoi(camHandle).x; }

int Camera::getPosY() const { return readAoi(camHandle).y; }

}  // namespace Nimbrel_model
