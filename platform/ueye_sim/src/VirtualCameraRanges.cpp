// What each setting accepts in the camera's current state: the bounds the
// setters clamp to, and the areas areaFits() takes.
#include "VirtualCamera.h"

namespace ueye_sim::detail {
namespace {

constexpr double kExposureStepMs = 0.01;

int roundUpToStep(int value, int step) { return step > 0 ? (value + step - 1) / step * step : value; }

}  // namespace

int VirtualCamera::settingRange(HIDS handle, int setting, double* smallest, double* largest, double* step) const {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!smallest || !largest || !step) return IS_INVALID_PARAMETER;
    switch (setting) {
        case IS_RANGE_EXPOSURE:
            *smallest = kShortestExposureMs;
            *largest = 1000.0 / settings_.frameRate;
            *step = kExposureStepMs;
            break;
        case IS_RANGE_MASTER_GAIN:
        case IS_RANGE_COLOR_GAIN:
            *smallest = 0;
            *largest = kGainMax;
            *step = 1;
            break;
        case IS_RANGE_BRIGHTNESS:
            *smallest = 0;
            *largest = kBrightnessMax;
            *step = 1;
            break;
        case IS_RANGE_AOI_WIDTH:
            *smallest = roundUpToStep(kMinimumWidth, model_->stepX);
            *largest = model_->maxWidth - model_->maxWidth % model_->stepX;
            *step = model_->stepX;
            break;
        case IS_RANGE_AOI_HEIGHT:
            *smallest = roundUpToStep(kMinimumHeight, model_->stepY);
            *largest = model_->maxHeight - model_->maxHeight % model_->stepY;
            *step = model_->stepY;
            break;
        default: return IS_INVALID_PARAMETER;
    }
    return IS_SUCCESS;
}

}  // namespace ueye_sim::detail
