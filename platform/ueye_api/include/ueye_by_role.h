// The four SDK functions the module knows by their role, not by a name in any
// of its messages. Each is declared here under the name the simulator exports
// and reached by the module only through the wrapper beside it: an SDK that
// exports one under another name needs that declaration and that wrapper
// changed, and nothing else.
#pragma once

// Included by ueye.h, after the types and UEYE_API.

// Set-up call made with the camera handle just before binning is switched off.
// The module passes it the two fixed values below and drops its status: a
// camera without the setting still opens.
UEYE_API INT is_UncheckedSetup(HIDS hCam, INT mode, INT param);

// The capture sequence's buffer in use (ppMem) and the last one written
// (ppMemLast). The module needs ppMem: the image memory it allocated, or null
// while no memory is active; it ignores the status and the other outputs.
UEYE_API INT is_GetActiveBuffer(HIDS hCam, INT* pNum, char** ppMem, char** ppMemLast);

// Searches the highest pixel clock the camera sustains (MHz) and the frame rate
// it gives there (frames per second). Called with mode 0 and a time-out in
// milliseconds on the optimisation thread; status 0 means both outputs hold.
UEYE_API INT is_GetOptimalTiming(HIDS hCam, INT mode, INT timeoutMs, INT* pMaxPixelClock, double* pMaxFrameRate);

// Shortest, longest and step of the frame time, in seconds, for the current
// settings. The module needs only the shortest, after status 0.
UEYE_API INT is_GetFrameTimeRange(HIDS hCam, double* pMin, double* pMax, double* pInterval);

namespace ueye_role {

// The two fixed arguments of the unchecked set-up call.
constexpr INT kUncheckedSetupMode = 2;
constexpr INT kUncheckedSetupParam = 0;

// The name the module's message gives the active-buffer query when a
// recording finds no picture to write.
constexpr const char* kActiveBufferName = "is_GetActiveBuffer";

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

}  // namespace ueye_role
