// The camera side of nimbrelsrc, free of GStreamer: opening the camera the
// way the tools do, what it can deliver, its area and rate, its controls and
// its frame stream. Every function here runs on the camera's thread (see
// CameraThread.h); the element marshals to it.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace nimbrel_gst {

// A failure the element posts as a GStreamer error of this kind, in these words.
class Failure : public std::runtime_error {
public:
    enum class Kind { NotFound, Settings, Read, Busy, Format };
    Failure(Kind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// What the camera can deliver, and where it is now.
struct Geometry {
    std::string sensor;
    bool color = true;
    int maxWidth = 0, maxHeight = 0;
    int stepX = 1, stepY = 1;
    int minWidth = 0, minHeight = 0;
    double lowestRate = 0, highestRate = 0;  // highest: at the smallest area
    int width = 0, height = 0;               // the area now
    double rate = 0;                         // the frame rate now
};

// What the user asked of the controls; unset ones keep the camera's values.
struct Controls {
    std::optional<double> exposure;
    std::optional<int> gain;
    std::optional<bool> autoGain;
    std::optional<int> brightness;
    std::optional<bool> autoWhiteBalance;
};

// What the camera applied.
struct Readings {
    double exposure = 0;
    int gain = 0;
    bool autoGain = false;
    int brightness = 0;
    bool autoWhiteBalance = false;
};

struct OpenRequest {
    std::string camera;  // the SDK's camera id, or a simulated camera's name; empty: the first camera
    std::string appDir;  // empty: the user's settings folder, as the tools
    std::string pluginDir;
    bool optimizeClock = false;
    Controls controls;
};

// Loads the settings, opens the camera, learns its geometry and applies the
// controls. Failure (NotFound, Settings, Read) on the way, the camera closed
// again.
Geometry openCamera(const OpenRequest& request);
// Stops the frame stream; never throws.
void stopStream();
// Stops the stream, closes the camera and deletes the module's Camera (the
// next opening starts afresh); never throws.
void closeCamera();

// Sets area and rate through the module's calls and reads them back; then
// starts the frame stream with `queueDepth` when it does not run (a new area
// stops it), telling whether it `started`. Failure Format naming the nearest
// sizes when the camera does not take the area, or its rates when it does
// not take the rate; Read for a failing SDK call.
Geometry configure(const Geometry& known, int width, int height, double rate, int queueDepth, bool& started);

// Applies the given controls (Read on a failing SDK call) and reads back all.
Readings applyControls(const Controls& controls);
Readings readControls();

// "the nearest sizes it takes are A and B", for a refused width x height.
std::string nearestSizes(const Geometry& geometry, int width, int height);

// The words of a module failure as the element reports it.
Failure classify(const std::exception& error, Failure::Kind fallback);

}  // namespace nimbrel_gst
