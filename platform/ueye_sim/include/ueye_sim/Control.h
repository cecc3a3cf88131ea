// Controls of the simulated camera SDK, for tests and for host developers who
// have no camera. The SDK functions themselves are the C functions declared
// in platform/ueye_api; this is what a real camera would be set up by hand.
// Hosts link Nimbrel_model::ueye_sim for these.
//
// The environment gives the same basics, read when the library loads and on
// reset():
//   UESIM_CAMERA=<sensor name>|none   which camera is connected (default SIM1280-C)
//   UESIM_FAIL=<function>=<status>[,<function>@<n>=<status>...]
//   UESIM_TRACE=<file>                one line per SDK call, appended
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32)
#define UESIM_API __declspec(dllexport)
#else
#define UESIM_API __attribute__((visibility("default")))
#endif

namespace ueye_sim {

// One model of the catalogue.
struct CameraModel {
    std::string name;       // sensor name, as the sensor information reports it
    bool color;             // false for a monochrome sensor
    int maxWidth;           // pixels
    int maxHeight;          // pixels
    int stepX;              // position and size step, horizontal
    int stepY;              // position and size step, vertical
    int minPixelClock;      // MHz
    int maxPixelClock;      // MHz; the highest the camera sustains
    int defaultPixelClock;  // MHz
};

// The virtual cameras: SIM1280-C, SIM1280-M, SIM2592-C, SIM4912-M, SIM1284-C,
// SIM1284-M.
UESIM_API const std::vector<CameraModel>& catalogue();
// The model with that sensor name, or nullptr.
UESIM_API const CameraModel* findModel(const std::string& name);

// Connects the named camera ("none" or "": no camera). Takes effect for the
// next is_InitCamera; an open camera stays open. Returns false for a name not
// in the catalogue (nothing changes then).
UESIM_API bool connectCamera(const std::string& name);
// The connected camera's name, or "none".
UESIM_API std::string connectedCamera();

// Back to a fresh state: closes an open camera (stopping its capture and
// freeing its memories), releases every AVI instance, clears injected
// failures, scripted results and the call log, and reads the environment again.
UESIM_API void reset();

// Makes `function` return `status`: on every call (nth == 0) or only on its
// nth call from now (counting from 1). Later rules for the same call win.
UESIM_API void failCall(const std::string& function, int status, int nth = 0);
// Makes every call of `function` return `microseconds` later than it would,
// outside the camera's lock: a slow driver, for races to show. Until
// clearScripts() or reset().
UESIM_API void slowCall(const std::string& function, int microseconds);
// (For scriptQuery, `nth` counts only the calls with that first argument.)
// Like failCall, but only for calls whose first argument after the handle
// (or the AVI id) equals `firstArg`: scripts the result of a query form, for
// example is_SetImagePos with 0xC007 or is_SetHardwareGain with 0x8000.
UESIM_API void scriptQuery(const std::string& function, int firstArg, int result, int nth = 0);
// Scripts the optimal-timing query: its status and the values it writes.
UESIM_API void scriptOptimalTiming(int status, int pixelClock, double frameRate);
// Scripts the frame-time range query: its status and the values it writes.
UESIM_API void scriptFrameTimeRange(int status, double minSeconds, double maxSeconds, double stepSeconds);
// Scripts what the current-value queries of is_SetExposureTime (32768) and
// is_SetFrameRate (32768) write, in place of the camera's own values.
UESIM_API void scriptExposureReading(double milliseconds);
UESIM_API void scriptFrameRateReading(double fps);
// Drops every failure and script set by the calls above.
UESIM_API void clearScripts();

// One SDK call: what UESIM_TRACE writes, without the newline.
struct CallRecord {
    std::string function;
    std::string arguments;  // "a, b, c" as in the trace
    long long result;
    std::string line() const;  // "function(arguments) -> result"
};
UESIM_API std::vector<CallRecord> callLog();
UESIM_API void clearCallLog();
// Just the function names of the log, in order.
UESIM_API std::vector<std::string> callNames();

// State a test can check.
struct CameraState {
    bool open;
    bool capturing;
    int allocatedMemories;  // image memories not yet freed
    std::uint64_t framesCaptured;
    int masterGain, redGain, greenGain, blueGain;
    bool autoGain, autoWhiteBalance, autoShutter;
    int brightness;
    double exposureMs;
    double frameRate;
    int pixelClock;
    int gamma;
    int colorMode;
    int aoiX, aoiY, aoiWidth, aoiHeight;
};
UESIM_API CameraState state();
// Open AVI instances, for leak checks.
UESIM_API int openAviInstances();

// Blocks until at least `count` more frames have been captured or `timeoutMs`
// passed; returns true when they were.
UESIM_API bool waitFrames(int count, int timeoutMs);

// The pattern, frame by frame:
//  - upper half of the sensor: a diagonal gradient, each channel a triangle
//    wave over 512 pixels of x + y (green and blue shifted by a third and two
//    thirds of the period), scrolling 4 pixels a frame;
//  - lower half: eight static, saturated vertical bars of equal width: red,
//    green, blue, white, yellow, cyan, magenta, black;
//  - the frame number (counted from 0 since the camera opened) in the picture's
//    top-left corner: 32 squares of 16 x 16 pixels in the first 16 lines, most
//    significant bit left, white for 1 and black for 0. The squares are drawn
//    at the picture's corner whatever the area's offset, clipped to its width,
//    and gains, exposure and brightness leave them alone;
//  - a monochrome sensor sees the luma (77 R + 150 G + 29 B + 128) / 256 of it.
// What the camera writes: signal = pattern x (exposure / 10 ms) x
// (1 + master gain / 50) x (1 + colour gain / 50, colour sensors only);
// pixel = 255 x (signal / 255, at most 1) ^ (100 / gamma) + (brightness - 128) / 2,
// clipped to 0..255. At the defaults (exposure 10 ms, gains 0, gamma 100,
// brightness 128) the pixels equal patternAt.
//
// The test pattern before gains, brightness and exposure act on it: the value
// (R, G, B) the sensor sees at (x, y) of the full sensor in frame `frame`.
// The lower half of the picture is static colour bars (red, green, blue,
// white, ...), so a test can check that colours land where they should.
struct Rgb {
    std::uint8_t r, g, b;
};
UESIM_API Rgb patternAt(const CameraModel& model, int x, int y, std::uint64_t frame);

}  // namespace ueye_sim
