// The SDK functions the module knows by their role, not by a name in any
// of its messages, and the one place to adapt when an SDK names one of them
// differently: change its declaration and the wrapper below it, nothing else.
// Declared here too, so that an SDK header without them still serves; a
// header that declares them the same way agrees with these declarations.
#pragma once

#include "ueye.h"

extern "C" {

// Set-up call made with the camera handle just before binning is switched
// off. The module drops its status: a camera without the setting still opens.
__attribute__((visibility("default"))) INT is_UncheckedSetup(HIDS hCam, INT mode, INT param);

// The capture sequence's buffer in use (ppMem) and the last one written
// (ppMemLast). The module needs ppMem: the image memory it allocated, or null
// while no memory is active; it ignores the status and the other outputs.
__attribute__((visibility("default"))) INT is_GetActiveBuffer(HIDS hCam, INT* pNum, char** ppMem, char** ppMemLast);

// Searches the highest pixel clock the camera sustains (MHz) and the frame rate
// it gives there (frames per second). Status 0 means both outputs hold.
__attribute__((visibility("default"))) INT is_GetOptimalTiming(HIDS hCam, INT mode, INT timeoutMs, INT* pMaxPixelClock,
                                                               double* pMaxFrameRate);

// Shortest, longest and step of the frame time, in seconds, for the current
// settings. The module needs only the shortest, after status 0.
__attribute__((visibility("default"))) INT is_GetFrameTimeRange(HIDS hCam, double* pMin, double* pMax,
                                                                double* pInterval);

// Smallest, largest and step of one setting (IS_RANGE_*) for the camera's
// current state. Status 0 means the three outputs hold.
__attribute__((visibility("default"))) INT is_GetSettingRange(HIDS hCam, INT setting, double* pMin, double* pMax,
                                                              double* pStep);
}

namespace ueye_role {

inline INT uncheckedSetup(HIDS camera, INT mode, INT param) { return is_UncheckedSetup(camera, mode, param); }

inline INT activeBuffer(HIDS camera, INT* number, char** inUse, char** lastWritten) {
    return is_GetActiveBuffer(camera, number, inUse, lastWritten);
}

inline INT optimalTiming(HIDS camera, INT mode, INT timeoutMs, INT* pixelClock, double* frameRate) {
    return is_GetOptimalTiming(camera, mode, timeoutMs, pixelClock, frameRate);
}

inline INT frameTimeRange(HIDS camera, double* shortest, double* longest, double* step) {
    return is_GetFrameTimeRange(camera, shortest, longest, step);
}

inline INT settingRange(HIDS camera, INT setting, double* smallest, double* largest, double* step) {
    return is_GetSettingRange(camera, setting, smallest, largest, step);
}

}  // namespace ueye_role
