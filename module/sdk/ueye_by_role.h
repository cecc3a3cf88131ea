// The SDK functions the module knows by their role, and the one place to adapt
// when an SDK names one of them differently: change its declaration or the
// wrapper below it, nothing else. The first four are named in none of the
// module's messages and are declared here too, so that an SDK header without
// them still serves; a header that declares them the same way agrees with
// these declarations. The frame stream's calls come from the SDK's header.
#pragma once

#include "ueye.h"

#include <cstdint>

extern "C" {

// Set-up call made with the camera handle just before binning is switched
// off. The module drops its status: a camera without the setting still opens.
__attribute__((visibility("default"))) INT is_UncheckedSetup(HIDS hCam, INT mode, INT param);

// The capture sequence's buffer in use (ppMem) and the last one written
// (ppMemLast). The picture needs ppMem: the image memory it allocated, or null
// while no memory is active; it ignores the status. The frame stream needs
// ppMemLast after status 0: the buffer of the frame just finished.
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

// The cameras connected to the computer, whether open or not: how many there
// are (*pCount) and, for the first `capacity` of them, the camera id that
// is_InitCamera takes, the model name (zero-terminated, cut to `modelBytes`
// bytes each, one after the other in pModels) and 1 when the camera is open
// already. With capacity 0 the arrays may be null. Status 0 means all hold.
__attribute__((visibility("default"))) INT is_ListConnectedCameras(INT capacity, INT* pCount, INT* pCameraIds,
                                                                   char* pModels, INT modelBytes, INT* pInUse);
}

namespace ueye_role {

// The two calls above whose status the module drops, by the SDK's names.
constexpr const char* kStatusDropped[] = {"is_UncheckedSetup", "is_GetActiveBuffer"};

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

// The frame stream's calls. Each is reported under the name given with it.

// The frame event: set when the camera has finished a frame, taken back by the
// wait. Waiting returns 0 with the event, IS_TIMED_OUT after `timeoutMs`.
constexpr const char* kEnableFrameEvent = "is_EnableEvent";
inline INT enableFrameEvent(HIDS camera) { return is_EnableEvent(camera, IS_SET_EVENT_FRAME); }
constexpr const char* kDisableFrameEvent = "is_DisableEvent";
inline INT disableFrameEvent(HIDS camera) { return is_DisableEvent(camera, IS_SET_EVENT_FRAME); }
constexpr const char* kWaitFrameEvent = "is_WaitEvent";
inline INT waitFrameEvent(HIDS camera, INT timeoutMs) { return is_WaitEvent(camera, IS_SET_EVENT_FRAME, timeoutMs); }
constexpr INT kWaitTimedOut = IS_TIMED_OUT;

// The buffer hold: while held, the camera writes no frame into the buffer and
// passes the frames it makes meanwhile by; taking it waits for a frame being
// written to end.
constexpr const char* kHoldBuffer = "is_LockSeqBuf";
inline INT holdBuffer(HIDS camera, char* memory) { return is_LockSeqBuf(camera, IS_IGNORE_PARAMETER, memory); }
constexpr const char* kReleaseBuffer = "is_UnlockSeqBuf";
inline INT releaseBuffer(HIDS camera, char* memory) { return is_UnlockSeqBuf(camera, IS_IGNORE_PARAMETER, memory); }

// The stream's own memory as an image memory of the camera, for the capture
// sequence; is_FreeImageMem lets go of it again and leaves it allocated.
constexpr const char* kAdoptMemory = "is_SetAllocatedImageMem";
inline INT adoptMemory(HIDS camera, INT width, INT height, INT bitsPerPixel, char* memory, INT* id) {
    return is_SetAllocatedImageMem(camera, width, height, bitsPerPixel, memory, id);
}
constexpr const char* kActiveBuffer = "is_GetActiveBuffer";

// The number (rising by one a frame the camera makes) and the camera's
// timestamp, in 0.1 us, of the frame last written into the memory of that id.
constexpr const char* kFrameInfo = "is_GetImageInfo";
inline INT frameInfo(HIDS camera, INT memoryId, std::uint64_t* number, std::uint64_t* deviceTime) {
    UEYEIMAGEINFO info{};
    const INT status = is_GetImageInfo(camera, memoryId, &info, static_cast<INT>(sizeof info));
    *number = info.u64FrameNumber;
    *deviceTime = info.u64TimestampDevice;
    return status;
}

// The connected cameras, as is_ListConnectedCameras lists them. A maker's SDK
// answers with its camera count and its camera list: call those here.
constexpr const char* kCameraList = "is_ListConnectedCameras";
inline INT cameraList(INT capacity, INT* count, INT* ids, char* models, INT modelBytes, INT* inUse) {
    return is_ListConnectedCameras(capacity, count, ids, models, modelBytes, inUse);
}

// The smallest and largest value a setting takes, and its step.
inline INT settingRange(HIDS camera, INT setting, double* smallest, double* largest, double* step) {
    return is_GetSettingRange(camera, setting, smallest, largest, step);
}

}  // namespace ueye_role
