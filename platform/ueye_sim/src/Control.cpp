// The control API: connection, reset, scripts, state and frame waits.
#include "ueye_sim/Control.h"
#include "AviRegistry.h"
#include "CallRegistry.h"
#include "Environment.h"
#include "Scripts.h"
#include "VirtualCamera.h"

namespace ueye_sim {
namespace {

// The environment is read when the library loads, not at the first call.
const bool loadedFromEnvironment = [] {
    detail::CallRegistry::instance();
    detail::VirtualCamera::instance();
    return true;
}();

}  // namespace

bool connectCamera(const std::string& name) { return detail::VirtualCamera::instance().connect(name); }

std::string connectedCamera() { return detail::VirtualCamera::instance().connectedName(); }

void reset() {
    const auto environment = detail::Environment::read();
    detail::VirtualCamera::instance().restart(environment);
    detail::resetAvi();
    detail::Scripts::instance().clear();
    detail::CallRegistry::instance().restart(environment);
}

void scriptOptimalTiming(int status, int pixelClock, double frameRate) {
    detail::Scripts::instance().setOptimalTiming({status, pixelClock, frameRate});
}

void scriptFrameTimeRange(int status, double minSeconds, double maxSeconds, double stepSeconds) {
    detail::Scripts::instance().setFrameTimeRange({status, minSeconds, maxSeconds, stepSeconds});
}

void scriptExposureReading(double milliseconds) { detail::Scripts::instance().setExposureReading(milliseconds); }

void scriptFrameRateReading(double fps) { detail::Scripts::instance().setFrameRateReading(fps); }

void clearScripts() {
    detail::Scripts::instance().clear();
    detail::CallRegistry::instance().clearRules();
}

CameraState state() { return detail::VirtualCamera::instance().state(); }

int openAviInstances() { return detail::openAviCount(); }

bool waitFrames(int count, int timeoutMs) { return detail::VirtualCamera::instance().waitFrames(count, timeoutMs); }

}  // namespace ueye_sim
