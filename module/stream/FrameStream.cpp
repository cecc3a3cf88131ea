// The frame stream: a worker that waits for each finished frame, holds the
// capture buffer while it copies the area into a pooled slot, and queues it.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/FrameStream.h>

#include "core/Handle.h"
#include "sdk/Failures.h"
#include "sdk/ueye_by_role.h"
#include "stream/FramePool.h"
#include "stream/StreamControl.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#ifdef __linux__
#include <pthread.h>
#endif

namespace Nimbrel_model {

using detail::FramePool;
using detail::FrameSlot;

Frame::Frame(FrameSlot* slot) noexcept : slot_(slot) {}

namespace {
// How long the worker waits for a frame before it looks for a stop request.
const INT kWaitMs = 20;
// Slots beyond the queue: the one being filled and one the consumer holds.
const int kSpareSlots = 2;
}  // namespace

char* CameraInternals::memory(const Camera& camera) { return camera.imageMemory; }
int CameraInternals::memoryId(const Camera& camera) { return camera.memId; }

namespace detail {

struct StreamCore {
    mutable std::mutex mutex;
    std::condition_variable frameReady;  // consumers: a frame, a failure or the end
    std::condition_variable control;     // the worker: stop or the end of a pause
    std::condition_variable idle;        // a pause: the worker holds no buffer
    std::thread worker;
    int pauses{};
    bool busy{};

    // Each set by start() (value-initialised until then).
    bool running{};
    bool stopRequested{};
    bool eventEnabled{};
    bool fresh{};  // the next frame may predate a change: look again, keep none
    std::exception_ptr failure;
    std::deque<FrameSlot*> queue;
    std::size_t depth{};
    std::uint64_t delivered{};
    std::uint64_t dropped{};
    std::optional<std::uint64_t> lastDelivered;
    FramePool* pool{};
    HIDS camera{};
    char* memory{};
    int memoryId{};
    int maxWidth{};
    int maxHeight{};
    bool color{};

    void run();
    // Holds `source`, reads its frame's number and copies the area unless it is to be passed by.
    void handleFrame(char* source, int sourceId, int width, int height, std::uint64_t& discardThrough, bool fresh);
    FrameSlot* takeSlot();
    void push(FrameSlot* slot);
    void releaseQueue();
};

}  // namespace detail

struct FrameStream::State : detail::StreamCore {};

namespace {
// The one stream's state, for Camera's hooks; null until the stream exists.
detail::StreamCore* streamCore = nullptr;
}  // namespace

namespace {

// Marks the worker idle again however it leaves its turn.
struct BusyTurn {
    std::mutex& mutex;
    bool& busy;
    std::condition_variable& idle;
    ~BusyTurn() {
        {
            std::lock_guard lock(mutex);
            busy = false;
        }
        idle.notify_all();
    }
};

// Lets go of the camera's buffer however the copy ends.
struct BufferHold {
    HIDS camera;
    char* memory;
    bool held = false;
    void release() {
        held = false;
        checkSdk(ueye_role::releaseBuffer(camera, memory), ueye_role::kReleaseBuffer);
    }
    ~BufferHold() {
        if (held) (void)ueye_role::releaseBuffer(camera, memory);
    }
};

}  // namespace

void detail::StreamCore::run() {
#ifdef __linux__
    // Named for debuggers and for measuring its time.
    pthread_setname_np(pthread_self(), "nimbrel-stream");
#endif
    int width = 0;
    int height = 0;
    std::uint64_t discardThrough = 0;
    try {
        for (;;) {
            {
                std::lock_guard lock(mutex);
                if (stopRequested) return;
            }
            const INT waited = ueye_role::waitFrameEvent(camera, kWaitMs);
            if (waited == ueye_role::kWaitTimedOut) continue;
            checkSdk(waited, ueye_role::kWaitFrameEvent);
            bool isFresh{};
            char* frameMemory{};
            int frameMemoryId{};
            {
                std::unique_lock lock(mutex);
                control.wait(lock, [&] { return stopRequested || pauses == 0; });
                if (stopRequested) return;
                busy = true;
                isFresh = fresh;
                fresh = false;
                frameMemory = memory;
                frameMemoryId = memoryId;
            }
            BusyTurn turn{mutex, busy, idle};
            if (isFresh) {
                INT x = 0, y = 0;
                checkSdk(is_SetAOI(camera, IS_GET_IMAGE_AOI, &x, &y, &width, &height), "is_SetAOI");
                width = std::max(0, std::min(width, maxWidth));
                height = std::max(0, std::min(height, maxHeight));
            }
            handleFrame(frameMemory, frameMemoryId, width, height, discardThrough, isFresh);
        }
    } catch (...) {
        std::lock_guard lock(mutex);
        failure = std::current_exception();
        running = false;
    }
    frameReady.notify_all();
}

void detail::StreamCore::handleFrame(char* source, int sourceId, int width, int height, std::uint64_t& discardThrough,
                                     bool isFresh) {
    BufferHold hold{camera, source};
    checkSdk(ueye_role::holdBuffer(camera, source), ueye_role::kHoldBuffer);
    hold.held = true;
    std::uint64_t number = 0;
    std::uint64_t deviceTime = 0;
    checkSdk(ueye_role::frameInfo(camera, sourceId, &number, &deviceTime), ueye_role::kFrameInfo);
    // A frame that may be older than the last change, or one seen before, is not kept.
    if (isFresh || number <= discardThrough) {
        discardThrough = std::max(discardThrough, number);
        hold.release();
        return;
    }
    discardThrough = number;
    // Back to the pool if releasing the buffer fails before the frame is queued.
    const auto giveBack = [this](FrameSlot* taken) { pool->give(taken); };
    std::unique_ptr<FrameSlot, decltype(giveBack)> slot(takeSlot(), giveBack);
    if (slot) {
        const std::size_t pixelBytes = color ? 3 : 1;
        const std::size_t rowBytes = static_cast<std::size_t>(width) * pixelBytes;
        const std::size_t sourcePitch = static_cast<std::size_t>(maxWidth) * pixelBytes;
        // Colour mode 129 keeps red, green, blue in memory already: rows copy as they are.
        if (rowBytes == sourcePitch) {
            std::memcpy(slot->pixels.get(), source, rowBytes * static_cast<std::size_t>(height));
        } else {
            for (int row = 0; row < height; ++row)
                std::memcpy(slot->pixels.get() + rowBytes * static_cast<std::size_t>(row),
                            source + sourcePitch * static_cast<std::size_t>(row), rowBytes);
        }
        slot->sequence = number;
        slot->deviceTime = deviceTime * 100;
        slot->width = width;
        slot->height = height;
        slot->stride = rowBytes;
        slot->color = color;
    }
    hold.release();
    if (!slot) return;  // the consumer holds every slot: this frame is a gap
    slot->hostTime = std::chrono::steady_clock::now();
    push(slot.release());
}

FrameSlot* detail::StreamCore::takeSlot() {
    if (FrameSlot* slot = pool->take()) return slot;
    {
        // Make room from the queue's oldest frame.
        std::lock_guard lock(mutex);
        if (queue.empty()) return nullptr;
        FrameSlot* oldest = queue.front();
        queue.pop_front();
        pool->give(oldest);
    }
    return pool->take();
}

void detail::StreamCore::push(FrameSlot* slot) {
    {
        std::lock_guard lock(mutex);
        if (queue.size() >= depth) {
            pool->give(queue.front());
            queue.pop_front();
        }
        queue.push_back(slot);
    }
    frameReady.notify_all();
}

void detail::StreamCore::releaseQueue() {
    for (FrameSlot* slot : queue) pool->give(slot);
    queue.clear();
}

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
    const std::size_t frameBytes = static_cast<std::size_t>(camera->getMaxWidth()) *
                                   static_cast<std::size_t>(camera->getMaxHeight()) * (camera->isColor() ? 3 : 1);
    std::lock_guard lock(s.mutex);
    s.eventEnabled = true;
    s.camera = handle;
    s.memory = CameraInternals::memory(*camera);
    s.memoryId = CameraInternals::memoryId(*camera);
    s.maxWidth = camera->getMaxWidth();
    s.maxHeight = camera->getMaxHeight();
    s.color = camera->isColor();
    s.depth = depth;
    s.pool = FramePool::create(depth + kSpareSlots, frameBytes);
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
    s.control.notify_all();
    if (s.worker.joinable()) s.worker.join();
    bool disable = false;
    {
        std::lock_guard lock(s.mutex);
        s.releaseQueue();
        if (s.pool) s.pool->retire();
        s.pool = nullptr;
        s.running = false;
        disable = s.eventEnabled;
        s.eventEnabled = false;
    }
    s.frameReady.notify_all();
    if (disable) checkSdk(ueye_role::disableFrameEvent(s.camera), ueye_role::kDisableFrameEvent);
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
    // missed while the buffer was held, passed over, or pushed out of the queue.
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
    if (streamCore) FrameStream::getInstance()->stop();
}

FrameStreamPause::FrameStreamPause() {
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
        if (--s->pauses > 0) return;
        Camera* camera = Camera::getInstance();
        s->memory = CameraInternals::memory(*camera);
        s->memoryId = CameraInternals::memoryId(*camera);
        s->fresh = true;
    }
    s->control.notify_all();
}

}  // namespace Nimbrel_model
