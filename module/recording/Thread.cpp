// The pixel clock optimisation, on a detached worker thread.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <Nimbrel_model/Thread.h>

#include "core/Handle.h"
#include "recording/OptimizationTracker.h"
#include "sdk/ueye_by_role.h"

namespace Nimbrel_model {

namespace {
const INT kPixelClockOptimization = 0;
const INT kSearchTimeoutMs = 5000;
}  // namespace

Thread::Thread(const int& type, CameraListener* listener)
    : wxThread(wxTHREAD_DETACHED), type(type), listener(listener) {
    optimizationStarted();
}

Thread::~Thread() { optimizationEnded(); }

int Thread::getType() const { return type; }

wxThread::ExitCode Thread::Entry() {
    if (type != 0) return nullptr;
    const HIDS handle = toHids(Camera::getInstance()->getCamHandle());

    INT pixelClock = 0;
    double frameRate = 0.0;
    if (ueye_role::optimalTiming(handle, kPixelClockOptimization, kSearchTimeoutMs, &pixelClock, &frameRate) ==
        IS_SUCCESS) {
        is_SetPixelClock(handle, pixelClock);
        double shortest = 0.0, longest = 0.0, step = 0.0;
        if (ueye_role::frameTimeRange(handle, &shortest, &longest, &step) == IS_SUCCESS && shortest > 0.0 &&
            frameRate < 1.0 / shortest)
            frameRate = 1.0 / shortest;
        double accepted = 0.0;
        is_SetFrameRate(handle, frameRate, &accepted);
    }
    if (listener) listener->optimizeEnd();
    return nullptr;
}

void Camera::optimizeClock(CameraListener* listener) {
    auto* thread = new Thread(0, listener);
    // A detached thread that never ran is not deleted by wx.
    if (thread->Create(0) != wxTHREAD_NO_ERROR || thread->Run() != wxTHREAD_NO_ERROR) delete thread;
    Config::getInstance()->setConfSaved(false);
}

}  // namespace Nimbrel_model
