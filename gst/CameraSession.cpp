#include "CameraSession.h"

#include "CameraOpener.h"
#include "CommandLine.h"
#include "SettingsFolder.h"
#include "SimulatorReadings.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <Nimbrel_model/FrameStream.h>
#include <Qel/Qel.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <thread>

namespace nimbrel_gst {

namespace {

using Nimbrel_model::Camera;
using Kind = Failure::Kind;

// No camera takes a side shorter than this (rounded up to its step); asking
// each for its own minimum would take a search through refused sizes.
constexpr int kSmallestSide = 32;
// How long the pixel-clock search may take before the element gives up on it.
constexpr auto kOptimizeTimeout = std::chrono::seconds(20);
// A rate read back within this fraction of the one asked for is that rate.
constexpr double kRateTolerance = 0.005;

Camera& camera() { return *Camera::getInstance(); }

// What the probes found, per sensor: they move the area and rate about, so
// they run once a process, not on every start.
std::map<std::string, Geometry>& probed() {
    static std::map<std::string, Geometry> known;
    return known;
}

std::string sizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

std::string rateText(double rate) {
    std::ostringstream text;
    text.precision(4);
    text << rate;
    return text.str();
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string moduleMessage(int id) {
    std::string text = Qel::Strings::StringTable::get().getString("Nimbrel", id).str();
    const auto cut = text.find("%s");
    return cut == std::string::npos ? text : text.substr(0, cut);
}

// The steps the module aligns an area to, seen through its own setAOI: one
// step short of the sensor comes back aligned down, and one pixel less than
// that comes back a whole step less.
void probeSteps(Geometry& geometry) {
    Camera& cam = camera();
    cam.setAOI(geometry.maxWidth - 1, geometry.maxHeight - 1);
    const int w1 = cam.getWidth(), h1 = cam.getHeight();
    cam.setAOI(w1 - 1, h1 - 1);
    geometry.stepX = std::max(1, w1 - cam.getWidth());
    geometry.stepY = std::max(1, h1 - cam.getHeight());
    auto roundUp = [](int value, int step) { return (value + step - 1) / step * step; };
    geometry.minWidth = std::min(geometry.maxWidth, roundUp(kSmallestSide, geometry.stepX));
    geometry.minHeight = std::min(geometry.maxHeight, roundUp(kSmallestSide, geometry.stepY));
    // The camera clamps a rate it cannot run to its limits: the fastest at the
    // smallest area, the slowest at any.
    cam.setAOI(geometry.minWidth, geometry.minHeight);
    cam.setFrameRate(1e6);
    geometry.highestRate = cam.getFrameRate();
    cam.setFrameRate(1e-3);
    geometry.lowestRate = cam.getFrameRate();
}

class OptimizeWait : public Nimbrel_model::CameraListener {
public:
    void optimizeEnd() override { done_.store(true); }
    std::atomic<bool> done_{false};
};

void optimizeClock() {
    static OptimizeWait wait;  // the worker may outlive a timed-out wait
    wait.done_.store(false);
    camera().optimizeClock(&wait);
    const auto deadline = std::chrono::steady_clock::now() + kOptimizeTimeout;
    while (!wait.done_.load()) {
        if (std::chrono::steady_clock::now() > deadline)
            throw Failure(Kind::Read, "the pixel clock optimisation did not finish within 20 s");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<std::string> shippedConfigs(const std::string& pluginDir) {
    // Beside the built plugin, then the packaged copy as seen from the
    // multiarch plugin folder (lib/<multiarch>/gstreamer-1.0).
    return {pluginDir + "nimbrel-model/config.xml", pluginDir + "../../../share/nimbrel-model/config.xml"};
}

void loadSettings(const OpenRequest& request) {
    std::string folder;
    try {
        folder = request.appDir.empty() ? host::userSettings(shippedConfigs(request.pluginDir)).path
                                        : std::filesystem::absolute(request.appDir).string() + "/";
    } catch (const std::exception& error) {
        throw Failure(Kind::Settings, error.what());
    }
    Qel::HelperFuncs::setAppDir(Qel::Strings::hstring(folder));
    try {
        Nimbrel_model::Config::getInstance()->load();
    } catch (const Qel::Exception& error) {
        throw Failure(Kind::Settings, "the settings file " + folder + "res/config.xml does not load: " + error.what());
    }
}

// Closes the camera when an opening step after init fails.
template <typename Step>
void closingOnFailure(Step&& step) {
    try {
        step();
    } catch (...) {
        closeCamera();
        throw;
    }
}

}  // namespace

Failure classify(const std::exception& error, Kind fallback) {
    if (const auto* failure = dynamic_cast<const Failure*>(&error)) return *failure;
    const std::string text = error.what();
    if (startsWith(text, moduleMessage(64))) return Failure(Kind::Settings, text);
    if (startsWith(text, moduleMessage(63))) return Failure(Kind::Read, text);
    return Failure(fallback, text);
}

Geometry openCamera(const OpenRequest& request) {
    loadSettings(request);
    // A number is the SDK's camera id, which any SDK takes; a name connects a
    // simulated camera.
    const bool byId =
        !request.camera.empty() && request.camera.size() < 10 &&
        std::all_of(request.camera.begin(), request.camera.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!request.camera.empty() && !byId) {
        try {
            host::chooseCamera(request.camera);
        } catch (const host::UsageError& error) {
            throw Failure(Kind::NotFound, error.what());
        }
    }
    Camera& cam = camera();
    try {
        if (byId) {
            cam.initById(std::stoi(request.camera));
        } else {
            host::openCamera(cam);
        }
    } catch (const std::exception& error) {
        const std::string hint = host::presetHint(cam, "deleting its preset (nimbrel-demo --reset-preset)");
        closeCamera();
        const std::string text = error.what();
        if (text.find("is_InitCamera") != std::string::npos)
            throw Failure(Kind::NotFound, "no camera could be opened: " + text);
        Failure failure = classify(error, Kind::Read);
        throw Failure(failure.kind(), hint.empty() ? text : text + " (" + hint + ")");
    }

    Geometry geometry;
    closingOnFailure([&] {
        geometry.sensor = cam.getName().str();
        geometry.color = cam.isColor();
        geometry.maxWidth = cam.getMaxWidth();
        geometry.maxHeight = cam.getMaxHeight();
        geometry.width = cam.getWidth();
        geometry.height = cam.getHeight();
        geometry.rate = cam.getFrameRate();
        const double exposure = cam.getExposure();
        auto known = probed().find(geometry.sensor);
        if (known == probed().end()) {
            Geometry probe = geometry;
            probeSteps(probe);
            known = probed().emplace(geometry.sensor, probe).first;
            cam.setAOI(geometry.width, geometry.height);
            cam.setFrameRate(geometry.rate);
            cam.setExposure(exposure);
        }
        geometry.stepX = known->second.stepX;
        geometry.stepY = known->second.stepY;
        geometry.minWidth = known->second.minWidth;
        geometry.minHeight = known->second.minHeight;
        geometry.lowestRate = known->second.lowestRate;
        geometry.highestRate = known->second.highestRate;
        if (request.optimizeClock) {
            optimizeClock();
            geometry.rate = cam.getFrameRate();
        }
        applyControls(request.controls);
    });
    return geometry;
}

void stopStream() {
    try {
        Nimbrel_model::FrameStream::getInstance()->stop();
    } catch (...) {
    }
}

void closeCamera() {
    stopStream();
    // A fresh Camera for the next opening: the module keeps a camera
    // monochrome once it found a monochrome sensor. The destructor closes the
    // camera, after an optimisation still running.
    delete Camera::getInstance();
}

std::string nearestSizes(const Geometry& g, int width, int height) {
    auto below = [](int value, int step, int low, int high) { return std::clamp(value / step * step, low, high); };
    auto above = [](int value, int step, int low, int high) {
        return std::clamp((value + step - 1) / step * step, low, high);
    };
    const int w0 = below(width, g.stepX, g.minWidth, g.maxWidth), w1 = above(width, g.stepX, g.minWidth, g.maxWidth);
    const int h0 = below(height, g.stepY, g.minHeight, g.maxHeight);
    const int h1 = above(height, g.stepY, g.minHeight, g.maxHeight);
    std::string text = "the nearest sizes it takes are " + sizeText(w0, h0);
    if (w1 != w0 || h1 != h0) text += " and " + sizeText(w1, h1);
    return text + " (" + sizeText(g.minWidth, g.minHeight) + " to " + sizeText(g.maxWidth, g.maxHeight) +
           " in steps of " + sizeText(g.stepX, g.stepY) + ")";
}

Geometry configure(const Geometry& known, int width, int height, double rate, int queueDepth, bool& started) {
    Camera& cam = camera();
    auto* stream = Nimbrel_model::FrameStream::getInstance();
    Geometry geometry = known;
    if (width % known.stepX != 0 || height % known.stepY != 0 || width < known.minWidth || width > known.maxWidth ||
        height < known.minHeight || height > known.maxHeight)
        throw Failure(Kind::Format,
                      "the camera cannot take " + sizeText(width, height) + ": " + nearestSizes(known, width, height));
    try {
        if (width != cam.getWidth() || height != cam.getHeight()) {
            // Frames of the old size must not follow the new caps.
            stream->stop();
            cam.setAOI(width, height);
        }
        geometry.width = cam.getWidth();
        geometry.height = cam.getHeight();
        if (geometry.width != width || geometry.height != height)
            throw Failure(Kind::Format, "the camera set " + sizeText(geometry.width, geometry.height) +
                                            " when asked for " + sizeText(width, height) + ": " +
                                            nearestSizes(known, width, height));
        if (std::abs(cam.getFrameRate() - rate) > kRateTolerance * rate) cam.setFrameRate(rate);
        geometry.rate = cam.getFrameRate();
        if (std::abs(geometry.rate - rate) > kRateTolerance * rate) {
            throw Failure(Kind::Format, "the camera runs " + sizeText(width, height) + " at " +
                                            rateText(geometry.rate) + " fps when asked for " + rateText(rate) +
                                            " fps (it takes " + rateText(known.lowestRate) + " to " +
                                            rateText(known.highestRate) + " fps, less at larger areas)");
        }
        started = !stream->isRunning();
        if (started) stream->start(queueDepth);
    } catch (const Failure&) {
        throw;
    } catch (const std::exception& error) {
        throw classify(error, Kind::Read);
    }
    return geometry;
}

Readings applyControls(const Controls& controls) {
    Camera& cam = camera();
    try {
        if (controls.autoGain) cam.setAutoGain(*controls.autoGain);
        if (controls.gain) cam.setGain(*controls.gain, -1, -1, -1);  // the colour gains stay
        if (controls.brightness) cam.setBrightness(*controls.brightness);
        if (controls.exposure) cam.setExposure(*controls.exposure);
        if (controls.autoWhiteBalance) {
            if (*controls.autoWhiteBalance) {
                cam.doWhiteBalance();
            } else {
                cam.stopWhiteBalance();
            }
        }
    } catch (const std::exception& error) {
        throw classify(error, Kind::Read);
    }
    Readings readings = readControls();
    // The module has no reading of the white balance: what was asked stands.
    readings.autoWhiteBalance = controls.autoWhiteBalance.value_or(false);
    return readings;
}

Readings readControls() {
    Camera& cam = camera();
    try {
        Readings readings;
        readings.exposure = cam.getExposure();
        readings.gain = static_cast<int>(std::lround(cam.getGain()));
        readings.autoGain = cam.isGainAuto();
        readings.brightness = cam.getBrightness();
        return readings;
    } catch (const std::exception& error) {
        throw classify(error, Kind::Read);
    }
}

}  // namespace nimbrel_gst
