// Live capture: the capture thread, paced by absolute deadlines.
#include "AutoControls.h"
#include "FrameRenderer.h"
#include "VirtualCamera.h"

#include <chrono>
#include <optional>

namespace ueye_sim::detail {
namespace {

using Clock = std::chrono::steady_clock;

Clock::duration framePeriod(double fps) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / fps));
}

}  // namespace

int VirtualCamera::startCapture(HIDS handle, int wait) {
    std::lock_guard lifecycle(lifecycleMutex_);
    std::unique_lock lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!memories_.hasCaptureTarget()) return IS_NO_ACTIVE_IMG_MEM;
    const std::uint64_t firstFrame = framesCaptured_ + 1;
    if (!capturing_) {
        capturing_ = true;
        stopRequested_ = false;
        captureThread_ = std::thread(&VirtualCamera::captureLoop, this);
    }
    if (wait == IS_DONT_WAIT) return IS_SUCCESS;
    // IS_WAIT waits for the first frame; larger values are a time-out in 10 ms units.
    const auto timeout = wait == IS_WAIT ? framePeriod(settings_.frameRate) * 2 + std::chrono::seconds(2)
                                         : Clock::duration(std::chrono::milliseconds(10LL * wait));
    const bool arrived = frameDone_.wait_for(lock, timeout, [&] { return framesCaptured_ >= firstFrame; });
    return arrived ? IS_SUCCESS : IS_TIMED_OUT;
}

int VirtualCamera::stopCapture(HIDS handle) {
    std::lock_guard lifecycle(lifecycleMutex_);
    if (!isOpenHandle(handle)) return IS_INVALID_CAMERA_HANDLE;
    stopCaptureThread();
    return IS_SUCCESS;
}

void VirtualCamera::stopCaptureThread() {
    std::thread worker;
    {
        std::lock_guard lock(mutex_);
        if (!captureThread_.joinable()) return;
        stopRequested_ = true;
        capturing_ = false;
        worker = std::move(captureThread_);
    }
    wake_.notify_all();
    worker.join();
    std::lock_guard lock(mutex_);
    stopRequested_ = false;
}

void VirtualCamera::captureLoop() {
    std::unique_lock lock(mutex_);
    std::optional<Clock::time_point> lastDeadline;
    while (!stopRequested_) {
        const auto period = framePeriod(settings_.frameRate);
        const auto deadline = lastDeadline ? *lastDeadline + period : Clock::now();
        if (Clock::now() < deadline) {
            // Woken early by a new frame rate, the deadline is worked out again from the last one.
            const auto version = timingVersion_;
            wake_.wait_until(lock, deadline, [&] { return stopRequested_ || timingVersion_ != version; });
            continue;
        }
        captureFrame(lock, deadline);
        const auto now = Clock::now();
        // More than a frame behind: drop the missed frames rather than catch up in a burst.
        lastDeadline = now - deadline > period ? now : deadline;
    }
}

void VirtualCamera::captureFrame(std::unique_lock<std::mutex>& lock, Clock::time_point deadline) {
    ImageMemory* target = memories_.beginFrame();
    if (!target) return;  // no memory to write into: the frame is lost
    if (target->locked) {
        // Every buffer is held: the frame is made but lands nowhere, and its number is gone.
        ++framesCaptured_;
        frameDone_.notify_all();
        return;
    }
    const CameraSettings settings = settings_;
    const CameraModel& model = *model_;
    const std::uint64_t frame = framesCaptured_;
    const FrameTarget where{target->data.get(), target->width, target->height, target->bitsPerPixel};
    const bool stamp = stamp_;
    // Drawing a large frame takes a while; control calls go on meanwhile, and
    // freeing this memory waits for beingWritten to clear.
    lock.unlock();
    const FrameMeans means = renderFrame(model, settings, frame, where);
    if (stamp) stampFrameNumber(settings, frame + 1, where);
    lock.lock();
    memories_.endFrame(*target);
    ++framesCaptured_;
    target->frameNumber = framesCaptured_;
    // The device clock: the steady clock in 0.1 us, read at the frame's deadline.
    target->deviceTime = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>>(
            deadline.time_since_epoch())
            .count());
    applyAutoControls(settings_, means);
    if (frameEventEnabled_) frameEventSet_ = true;
    frameDone_.notify_all();
}

int VirtualCamera::enableEvent(HIDS handle, int which, bool enable) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (which != IS_SET_EVENT_FRAME) return IS_INVALID_PARAMETER;
    frameEventEnabled_ = enable;
    frameEventSet_ = false;
    frameDone_.notify_all();
    return IS_SUCCESS;
}

int VirtualCamera::waitEvent(HIDS handle, int which, int timeoutMs) {
    std::unique_lock lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (which != IS_SET_EVENT_FRAME || timeoutMs < 0) return IS_INVALID_PARAMETER;
    if (!frameEventEnabled_) return IS_NO_SUCCESS;
    frameDone_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                        [&] { return frameEventSet_ || !frameEventEnabled_ || !open_; });
    if (!frameEventSet_) return IS_TIMED_OUT;
    frameEventSet_ = false;
    return IS_SUCCESS;
}

int VirtualCamera::setExternalTrigger(HIDS handle, int mode) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (mode == IS_GET_EXTERNALTRIGGER) return settings_.triggerMode;
    // The simulator only runs free; it has no trigger input to wait for.
    if (mode != IS_SET_TRIGGER_OFF) return IS_INVALID_PARAMETER;
    settings_.triggerMode = mode;
    return IS_SUCCESS;
}

int VirtualCamera::setDisplayMode(HIDS handle, int mode) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (mode == IS_GET_DISPLAY_MODE) return settings_.displayMode;
    settings_.displayMode = mode;
    return IS_SUCCESS;
}

}  // namespace ueye_sim::detail
