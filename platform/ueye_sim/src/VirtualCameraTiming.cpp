// Pixel clock, frame rate and exposure, and the two timing queries.
#include "Scripts.h"
#include "SensorTiming.h"
#include "VirtualCamera.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace ueye_sim::detail {
namespace {

// How long the optimal-timing search takes, as a camera trying clocks would.
constexpr int kSearchMs = 300;

}  // namespace

double VirtualCamera::highestFrameRateNow() const {
    return highestFrameRate(*model_, settings_.aoiWidth, settings_.aoiHeight, settings_.pixelClock);
}

void VirtualCamera::setFrameRateLocked(double fps) {
    settings_.frameRate = std::max(kLowestFrameRate, std::min(fps, highestFrameRateNow()));
    settings_.exposureMs = std::min(settings_.exposureMs, 1000.0 / settings_.frameRate);
    ++timingVersion_;
    wake_.notify_all();
}

void VirtualCamera::fitTiming() { setFrameRateLocked(settings_.frameRate); }

int VirtualCamera::exposure(HIDS handle, double milliseconds, double* applied) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!applied || std::isnan(milliseconds)) return IS_INVALID_PARAMETER;
    if (milliseconds == IS_GET_EXPOSURE_TIME) {
        *applied = Scripts::instance().exposureReading().value_or(settings_.exposureMs);
        return IS_SUCCESS;
    }
    settings_.exposureMs = std::clamp(milliseconds, kShortestExposureMs, 1000.0 / settings_.frameRate);
    *applied = settings_.exposureMs;
    return IS_SUCCESS;
}

int VirtualCamera::frameRate(HIDS handle, double fps, double* applied) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!applied || std::isnan(fps)) return IS_INVALID_PARAMETER;
    if (fps == IS_GET_FRAMERATE) {
        *applied = Scripts::instance().frameRateReading().value_or(settings_.frameRate);
        return IS_SUCCESS;
    }
    if (fps == IS_GET_DEFAULT_FRAMERATE) {
        *applied = kDefaultFrameRate;
        return IS_SUCCESS;
    }
    setFrameRateLocked(fps);
    *applied = settings_.frameRate;
    return IS_SUCCESS;
}

int VirtualCamera::pixelClock(HIDS handle, int clockMHz) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (clockMHz == IS_GET_PIXEL_CLOCK) return settings_.pixelClock;
    settings_.pixelClock = std::clamp(clockMHz, model_->minPixelClock, model_->maxPixelClock);
    fitTiming();
    return IS_SUCCESS;
}

int VirtualCamera::optimalTiming(HIDS handle, int mode, int timeoutMs, int* clockMHz, double* fps) {
    if (!isOpenHandle(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (mode != 0 || !clockMHz || !fps) return IS_INVALID_PARAMETER;
    // The search runs without the lock: capture and control calls go on meanwhile.
    if (timeoutMs < kSearchMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max(timeoutMs, 0)));
        return IS_TIMED_OUT;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kSearchMs));
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (const auto script = Scripts::instance().optimalTiming()) {
        *clockMHz = script->pixelClock;
        *fps = script->frameRate;
        return script->status;
    }
    *clockMHz = model_->maxPixelClock;
    *fps = highestFrameRate(*model_, settings_.aoiWidth, settings_.aoiHeight, model_->maxPixelClock);
    return IS_SUCCESS;
}

int VirtualCamera::frameTimeRange(HIDS handle, double* shortest, double* longest, double* step) const {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!shortest || !longest || !step) return IS_INVALID_PARAMETER;
    if (const auto script = Scripts::instance().frameTimeRange()) {
        *shortest = script->minSeconds;
        *longest = script->maxSeconds;
        *step = script->stepSeconds;
        return script->status;
    }
    *shortest = shortestFrameTime(*model_, settings_.aoiWidth, settings_.aoiHeight, settings_.pixelClock);
    *longest = kLongestFrameTime;
    *step = lineTime(*model_, settings_.aoiWidth, settings_.pixelClock);
    return IS_SUCCESS;
}

}  // namespace ueye_sim::detail
