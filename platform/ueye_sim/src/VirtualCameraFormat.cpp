// Colour mode, area of interest and binning.
#include "VirtualCamera.h"

namespace ueye_sim::detail {
namespace {

// A real sensor reads only whole steps and only areas that lie on it.
bool areaFits(const CameraModel& model, int x, int y, int width, int height) {
    return x >= 0 && y >= 0 && width >= kMinimumWidth && height >= kMinimumHeight && x % model.stepX == 0 &&
           y % model.stepY == 0 && width % model.stepX == 0 && height % model.stepY == 0 &&
           width <= model.maxWidth - x && height <= model.maxHeight - y;
}

}  // namespace

int VirtualCamera::setColorMode(HIDS handle, int mode) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (mode == IS_GET_COLOR_MODE) return settings_.colorMode;
    if (mode != IS_CM_RGB8_PACKED && mode != IS_CM_MONO8) return IS_INVALID_PARAMETER;
    settings_.colorMode = mode;
    return IS_SUCCESS;
}

int VirtualCamera::setImageSize(HIDS handle, int width, int height) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!areaFits(*model_, settings_.aoiX, settings_.aoiY, width, height)) return IS_INVALID_PARAMETER;
    settings_.aoiWidth = width;
    settings_.aoiHeight = height;
    fitTiming();
    return IS_SUCCESS;
}

int VirtualCamera::setImagePosition(HIDS handle, int x, int y) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    switch (x) {
        case IS_GET_IMAGE_POS_X_INC:
        case IS_GET_IMAGE_POS_Y_INC:
        case IS_GET_IMAGE_POS_X_MAX:
        case IS_GET_IMAGE_POS_Y_MAX:
            if (y != x) return IS_INVALID_PARAMETER;
            if (x == IS_GET_IMAGE_POS_X_INC) return model_->stepX;
            if (x == IS_GET_IMAGE_POS_Y_INC) return model_->stepY;
            if (x == IS_GET_IMAGE_POS_X_MAX) return model_->maxWidth - settings_.aoiWidth;
            return model_->maxHeight - settings_.aoiHeight;
        default: break;
    }
    if (!areaFits(*model_, x, y, settings_.aoiWidth, settings_.aoiHeight)) return IS_INVALID_PARAMETER;
    settings_.aoiX = x;
    settings_.aoiY = y;
    return IS_SUCCESS;
}

int VirtualCamera::areaOfInterest(HIDS handle, int command, int* x, int* y, int* width, int* height) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!x || !y || !width || !height) return IS_INVALID_PARAMETER;
    if (command == IS_GET_IMAGE_AOI) {
        *x = settings_.aoiX;
        *y = settings_.aoiY;
        *width = settings_.aoiWidth;
        *height = settings_.aoiHeight;
        return IS_SUCCESS;
    }
    if (command != IS_SET_IMAGE_AOI || !areaFits(*model_, *x, *y, *width, *height)) return IS_INVALID_PARAMETER;
    settings_.aoiX = *x;
    settings_.aoiY = *y;
    settings_.aoiWidth = *width;
    settings_.aoiHeight = *height;
    fitTiming();
    return IS_SUCCESS;
}

int VirtualCamera::setBinning(HIDS handle, int mode) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (mode == IS_GET_BINNING) return settings_.binning;
    // Binning is not simulated; only switching it off is accepted.
    if (mode != IS_BINNING_DISABLE) return IS_INVALID_PARAMETER;
    settings_.binning = mode;
    return IS_SUCCESS;
}

int VirtualCamera::uncheckedSetup(HIDS handle, int mode, int param) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    settings_.uncheckedMode = mode;
    settings_.uncheckedParam = param;
    return IS_SUCCESS;
}

}  // namespace ueye_sim::detail
