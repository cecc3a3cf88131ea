#include "SdkCall.h"

using namespace ueye_sim::detail;

INT is_SetExposureTime(HIDS hCam, double exposure, double* pNewExposure) {
    CallGate call("is_SetExposureTime");
    call.arg(hCam).arg(exposure).out(pNewExposure);
    return gated(call, [&] { return camera().exposure(hCam, exposure, pNewExposure); });
}

INT is_SetFrameRate(HIDS hCam, double fps, double* pNewFps) {
    CallGate call("is_SetFrameRate");
    call.arg(hCam).arg(fps).out(pNewFps);
    return gated(call, [&] { return camera().frameRate(hCam, fps, pNewFps); });
}

INT is_SetPixelClock(HIDS hCam, INT clock) {
    CallGate call("is_SetPixelClock");
    call.arg(hCam).arg(clock);
    return gated(call, [&] { return camera().pixelClock(hCam, clock); });
}

INT is_GetOptimalTiming(HIDS hCam, INT mode, INT timeoutMs, INT* pMaxPixelClock, double* pMaxFrameRate) {
    CallGate call("is_GetOptimalTiming");
    call.arg(hCam).arg(mode).arg(timeoutMs).out(pMaxPixelClock).out(pMaxFrameRate);
    return gated(call, [&] { return camera().optimalTiming(hCam, mode, timeoutMs, pMaxPixelClock, pMaxFrameRate); });
}

INT is_GetFrameTimeRange(HIDS hCam, double* pMin, double* pMax, double* pInterval) {
    CallGate call("is_GetFrameTimeRange");
    call.arg(hCam).out(pMin).out(pMax).out(pInterval);
    return gated(call, [&] { return camera().frameTimeRange(hCam, pMin, pMax, pInterval); });
}

INT is_GetSettingRange(HIDS hCam, INT setting, double* pMin, double* pMax, double* pStep) {
    CallGate call("is_GetSettingRange");
    call.arg(hCam).arg(setting).out(pMin).out(pMax).out(pStep);
    return gated(call, [&] { return camera().settingRange(hCam, setting, pMin, pMax, pStep); });
}
