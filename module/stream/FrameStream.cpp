// The frame stream's public calls, and what Camera tells it.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/FrameStream.h>

#include "core/Handle.h"
#include "sdk/Failures.h"
#include "stream/StreamControl.h"
#include "stream/StreamCore.h"

#include <algorithm>
#include <memory>

namespace Nimbrel_model {

using detail::FrameSlot;

Frame::Frame(FrameSlot* slot) noexcept : slot_(slot) {}

namespace {
// Buffers beyond the queue: the one being written, and those the consumer holds.
const int kSpareBuffers = 3;
}  // namespace

char* CameraInternals::memory(const Camera& camera) { return camera.imageMemory; }
int CameraInternals::memoryId(const Camera& camera) { return camera.memId; }

struct FrameStream::State : detail::StreamCore {};

namespace {
// The one stream's state, for Camera's hooks; null until the stream exists.
detail::StreamCore* streamCore = nullptr;
}  // namespace

FrameStream* FrameStream::_instance = nullptr;

FrameStream* FrameStream::getInstance() {
    if (!_instance) _instance = new FrameStream();
    return _instance;
}

FrameStream::FrameStream() : state_(std::make_unique<State>()) { streamCore = state_.get(); }

// Never called: the one stream lives as long as the process.
FrameStream::~FrameStream() = default;

void FrameStream::start(const int& queueDepth) {
    stop();
    Camera* camera = Camera::getInstance();
    State& s = *state_;
    const HIDS handle = toHids(camera->getCamHandle());
    checkSdk(ueye_role::enableFrameEvent(handle), ueye_role::kEnableFrameEvent);
    const std::size_t depth = static_cast<std::size_t>(std::max(queueDepth, 1));
    std::lock_guard lock(s.mutex);
    s.camera = handle;
    s.maxWidth = camera->getMaxWidth();
    s.maxHeight = camera->getMaxHeight();
    s.color = camera->isColor();
    s.pitch = static_cast<std::size_t>(s.maxWidth) * (s.color ? 3 : 1);
    try {
        s.lendRing(depth + kSpareBuffers);
    } catch (...) {
        // The first failure is the one to report; the camera gets back what it can.
        try {
            s.reclaimRing();
        } catch (...) {
        }
        (void)ueye_role::disableFrameEvent(handle);
        throw;
    }
    s.eventEnabled = true;
    s.cursor = {};
    s.depth = depth;
    s.delivered = s.dropped = 0;
    s.lastDelivered.reset();
    s.failure = nullptr;
    s.fresh = true;
    s.stopRequested = false;
    s.running = true;
    s.worker = std::thread(&detail::StreamCore::run, &s);
}

void FrameStream::stop() {
    State& s = *state_;
    {
        std::lock_guard lock(s.mutex);
        s.stopRequested = true;
    }
    if (s.worker.joinable()) s.worker.join();
    std::exception_ptr first;
    bool disable = false;
    {
        // A change on another thread may be replacing the camera's memory:
        // the camera gets it back once the change is done, and none begins
        // before the ring is let go of.
        std::unique_lock lock(s.mutex);
        s.control.wait(lock, [&] { return s.pauses == 0; });
        s.releaseQueue();
        try {
            s.reclaimRing();
        } catch (...) {
            first = std::current_exception();
        }
        s.running = false;
        disable = s.eventEnabled;
        s.eventEnabled = false;
    }
    s.frameReady.notify_all();
    if (disable) {
        try {
            checkSdk(ueye_role::disableFrameEvent(s.camera), ueye_role::kDisableFrameEvent);
        } catch (...) {
            if (!first) first = std::current_exception();
        }
    }
    if (first) std::rethrow_exception(first);
}

bool FrameStream::isRunning() const {
    std::lock_guard lock(state_->mutex);
    return state_->running;
}

std::optional<Frame> FrameStream::next(const std::chrono::milliseconds& timeout) {
    State& s = *state_;
    std::unique_lock lock(s.mutex);
    s.frameReady.wait_for(lock, timeout, [&] { return !s.queue.empty() || s.failure || !s.running; });
    if (s.failure) {
        std::exception_ptr failure = s.failure;
        s.failure = nullptr;
        std::rethrow_exception(failure);
    }
    if (s.queue.empty()) return std::nullopt;
    FrameSlot* slot = s.queue.front();
    s.queue.pop_front();
    // Whatever the camera made between two frames handed out was dropped:
    // missed while every buffer was held, passed over, or pushed out of the queue.
    if (s.lastDelivered) s.dropped += slot->sequence - *s.lastDelivered - 1;
    s.lastDelivered = slot->sequence;
    ++s.delivered;
    return Frame(slot);
}

std::uint64_t FrameStream::delivered() const {
    std::lock_guard lock(state_->mutex);
    return state_->delivered;
}

std::uint64_t FrameStream::dropped() const {
    std::lock_guard lock(state_->mutex);
    return state_->dropped;
}

void stopFrameStream() {
    if (!streamCore) return;
    FrameStream::getInstance()->stop();
    std::lock_guard lock(streamCore->mutex);
    streamCore->retireKept();
}

bool frameStreamLendsBuffers() { return streamCore && streamCore->lent.load(); }

FrameStreamPause::FrameStreamPause(bool replacesMemory) : replacesMemory_(replacesMemory) {
    detail::StreamCore* s = streamCore;
    if (!s) return;
    std::unique_lock lock(s->mutex);
    ++s->pauses;
    s->idle.wait(lock, [&] { return !s->busy; });
}

FrameStreamPause::~FrameStreamPause() {
    detail::StreamCore* s = streamCore;
    if (!s) return;
    {
        std::lock_guard lock(s->mutex);
        if (replacesMemory_ && s->lent) s->resequence = true;
        if (--s->pauses > 0) return;
        s->fresh = true;
    }
    s->control.notify_all();
}

}  // namespace Nimbrel_model
