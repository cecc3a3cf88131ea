// What each setter accepts, as the camera reports it now.
#include <Nimbrel_model/Camera.h>

#include "sdk/Failures.h"
#include "sdk/ueye_by_role.h"
#include "ueye.h"

namespace Nimbrel_model {

namespace {

SettingRange settingRange(HIDS camera, INT setting) {
    SettingRange range;
    checkSdk(ueye_role::settingRange(camera, setting, &range.min, &range.max, &range.step), "is_GetSettingRange");
    return range;
}

}  // namespace

SettingRange Camera::getExposureRange() const { return settingRange(camHandle, IS_RANGE_EXPOSURE); }

SettingRange Camera::getFrameRateRange() const {
    double shortest = 0.0;
    double longest = 0.0;
    double step = 0.0;
    checkSdk(ueye_role::frameTimeRange(camHandle, &shortest, &longest, &step), "is_GetFrameTimeRange");
    // A frame time of 0 would make an infinite rate: no range to offer.
    if (!(shortest > 0.0) || !(longest >= shortest)) throwSdkFailure("is_GetFrameTimeRange", IS_NO_SUCCESS);
    return {1.0 / longest, 1.0 / shortest, 0.0};
}

SettingRange Camera::getGainRange() const { return settingRange(camHandle, IS_RANGE_MASTER_GAIN); }

SettingRange Camera::getColorGainRange() const { return settingRange(camHandle, IS_RANGE_COLOR_GAIN); }

SettingRange Camera::getBrightnessRange() const { return settingRange(camHandle, IS_RANGE_BRIGHTNESS); }

SettingRange Camera::getWidthRange() const { return settingRange(camHandle, IS_RANGE_AOI_WIDTH); }

SettingRange Camera::getHeightRange() const { return settingRange(camHandle, IS_RANGE_AOI_HEIGHT); }

}  // namespace Nimbrel_model
