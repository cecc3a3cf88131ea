// The frame stream's worker: it waits for each finished frame, holds the ring
// buffer the camera wrote it into, and queues it.
#include "sdk/Failures.h"
#include "stream/StreamCore.h"

#include <algorithm>
#include <chrono>

#ifdef __linux__
#include <pthread.h>
#endif

namespace Nimbrel_model::detail {

namespace {
// How long the worker waits for a frame before it looks for a stop request.
const INT kWaitMs = 20;

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
}  // namespace

void StreamCore::run() {
#ifdef __linux__
    // Named for debuggers and for measuring its time.
    pthread_setname_np(pthread_self(), "nimbrel-stream");
#endif
    int width = 0;
    int height = 0;
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
            bool again{};
            {
                std::unique_lock lock(mutex);
                control.wait(lock, [&] { return stopRequested || pauses == 0; });
                if (stopRequested) return;
                busy = true;
                isFresh = fresh;
                fresh = false;
                again = resequence;
                resequence = false;
            }
            BusyTurn turn{mutex, busy, idle};
            if (again) lendSequence();
            if (isFresh) {
                INT x{}, y{};
                checkSdk(is_SetAOI(camera, IS_GET_IMAGE_AOI, &x, &y, &width, &height), "is_SetAOI");
                width = std::max(0, std::min(width, maxWidth));
                height = std::max(0, std::min(height, maxHeight));
            }
            // The frame after a change may predate it: it is passed by.
            if (!isFresh) takeFrame(width, height);
        }
    } catch (...) {
        std::lock_guard lock(mutex);
        failure = std::current_exception();
        running = false;
    }
    frameReady.notify_all();
}

void StreamCore::takeFrame(int width, int height) {
    INT position = 0;
    char* inUse = nullptr;
    char* last = nullptr;
    checkSdk(ueye_role::activeBuffer(camera, &position, &inUse, &last), ueye_role::kActiveBuffer);
    FrameSlot* slot = pool->find(last);
    // Written into the camera's own memory (before the ring was its sequence), or taken already.
    if (!slot || slot->held) return;
    checkSdk(ueye_role::holdBuffer(camera, last), ueye_role::kHoldBuffer);
    slot->held = true;
    std::uint64_t number = 0;
    std::uint64_t deviceTime = 0;
    checkSdk(ueye_role::frameInfo(camera, slot->memoryId, &number, &deviceTime), ueye_role::kFrameInfo);
    slot->sequence = number;
    slot->deviceTime = deviceTime * 100;
    slot->width = width;
    slot->height = height;
    // The camera writes the area at the top left of the whole sensor's rows.
    slot->stride = static_cast<std::size_t>(maxWidth) * (color ? 3 : 1);
    slot->color = color;
    slot->hostTime = std::chrono::steady_clock::now();
    pool->lend(slot);
    push(slot);
    // The camera needs a buffer for its next frame even when the consumer keeps every frame it got.
    returnToCamera();
    const auto& slots = pool->slots();
    if (std::none_of(slots.begin(), slots.end(), [](const auto& s) { return !s->held; })) growRing();
}

void StreamCore::push(FrameSlot* slot) {
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

void StreamCore::releaseQueue() {
    for (FrameSlot* slot : queue) slot->pool->give(slot);
    queue.clear();
}

}  // namespace Nimbrel_model::detail
