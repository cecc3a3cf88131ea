// Every value the SDK calls set on the camera, as the camera holds it.
#pragma once

#include "SensorTiming.h"
#include "ueye.h"
#include "ueye_sim/Control.h"

namespace ueye_sim::detail {

constexpr int kGainMax = 100;
constexpr int kBrightnessMax = 255;
constexpr int kNeutralBrightness = 128;
constexpr int kNeutralGamma = 100;  // gamma x 100
// The smallest area the sensor reads, before rounding up to its steps.
constexpr int kMinimumWidth = 32;
constexpr int kMinimumHeight = 4;

struct CameraSettings {
    int masterGain = 0;
    int redGain = 0;
    int greenGain = 0;
    int blueGain = 0;
    bool autoGain = false;
    bool autoShutter = false;
    bool autoWhiteBalance = false;
    double autoReference = 128.0;
    int brightness = kNeutralBrightness;
    double exposureMs = kDefaultExposureMs;
    double frameRate = kDefaultFrameRate;
    int pixelClock = 0;
    int gamma = kNeutralGamma;
    bool blackLevelOn = false;
    int blackLevelOffset = 0;
    int colorCorrection = 0;
    int colorMode = IS_CM_RGB8_PACKED;
    int binning = IS_BINNING_DISABLE;
    int uncheckedMode = 0;
    int uncheckedParam = 0;
    int displayMode = IS_SET_DM_DIB;
    int triggerMode = IS_SET_TRIGGER_OFF;
    int aoiX = 0;
    int aoiY = 0;
    int aoiWidth = 0;
    int aoiHeight = 0;

    // What a camera of that model holds right after it is opened.
    static CameraSettings defaultsFor(const CameraModel& model);
};

inline CameraSettings CameraSettings::defaultsFor(const CameraModel& model) {
    CameraSettings settings;
    settings.pixelClock = model.defaultPixelClock;
    settings.colorMode = model.color ? IS_CM_RGB8_PACKED : IS_CM_MONO8;
    settings.aoiWidth = model.maxWidth;
    settings.aoiHeight = model.maxHeight;
    const double fastest = highestFrameRate(model, model.maxWidth, model.maxHeight, model.defaultPixelClock);
    settings.frameRate = fastest < kDefaultFrameRate ? fastest : kDefaultFrameRate;
    const double frameTimeMs = 1000.0 / settings.frameRate;
    settings.exposureMs = frameTimeMs < kDefaultExposureMs ? frameTimeMs : kDefaultExposureMs;
    return settings;
}

}  // namespace ueye_sim::detail
