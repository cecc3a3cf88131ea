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

// Marks the worker idle again however it leaves its turn, and only then
// wakes the consumers for the frames it queued: a consumer woken any earlier
// holds the lock the worker still needs, so the worker waits for it and the
// consumer pays to wake it, on every frame.
struct BusyTurn {
    StreamCore& core;
    ~BusyTurn() {
        {
            std::lock_guard lock(core.mutex);
            core.busy = false;
        }
        core.idle.notify_all();
        core.frameReady.notify_all();
    }
};
}  // namespace

void StreamCore::run() {
#ifdef __linux__
    // Named for debuggers and for measuring its time.
    pthread_setname_np(pthread_self(), "nimbrel-stream");
#endif
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
                // A stop waits for the change too.
                control.wait(lock, [&] { return pauses == 0; });
                if (stopRequested) return;
                busy = true;
                isFresh = fresh;
                fresh = false;
                again = resequence;
                resequence = false;
            }
            BusyTurn turn{*this};
            if (again) lendSequence();
            if (isFresh) {
                INT x{}, y{};
                checkSdk(is_SetAOI(camera, IS_GET_IMAGE_AOI, &x, &y, &cursor.width, &cursor.height), "is_SetAOI");
            }
            // The frame after a change may predate it: it is passed by.
            takeFrames(isFresh);
        }
    } catch (...) {
        std::lock_guard lock(mutex);
        failure = std::current_exception();
        running = false;
    }
    frameReady.notify_all();
}

namespace {
// The ring's buffer at `memory`, or the end.
auto slotOf(const std::vector<std::unique_ptr<FrameSlot>>& slots, const char* memory) {
    return std::find_if(slots.begin(), slots.end(), [memory](const auto& slot) { return pixelsOf(*slot) == memory; });
}
}  // namespace

// The camera fills the ring's free buffers in turn, so the free buffers from
// the one after the last frame taken up to the newest hold the frames made
// since, oldest first: a worker late by a frame or two still hands each out.
void StreamCore::takeFrames(bool passBy) {
    INT position = 0;
    char* inUse = nullptr;
    char* last = nullptr;
    checkSdk(ueye_role::activeBuffer(camera, &position, &inUse, &last), ueye_role::kActiveBuffer);
    const auto& slots = pool->slots();
    const auto newest = slotOf(slots, last);
    // Written into the camera's own memory (before the ring was its sequence), or taken already.
    if (newest == slots.end() || (*newest)->held) return;
    const auto end = static_cast<std::size_t>(newest - slots.begin());
    if (passBy) {
        std::uint64_t deviceTime{};
        checkSdk(ueye_role::frameInfo(camera, (*newest)->memoryId, &cursor.lastNumber, &deviceTime),
                 ueye_role::kFrameInfo);
        // A frame begun before the change may still be on its way into the
        // buffer in use: the hold waits for it, and it is passed by too.
        const auto pending = slotOf(slots, inUse);
        if (pending != slots.end() && !(*pending)->held) {
            checkSdk(ueye_role::holdBuffer(camera, inUse), ueye_role::kHoldBuffer);
            std::uint64_t number{};
            const INT status = ueye_role::frameInfo(camera, (*pending)->memoryId, &number, &deviceTime);
            checkSdk(ueye_role::releaseBuffer(camera, inUse), ueye_role::kReleaseBuffer);
            checkSdk(status, ueye_role::kFrameInfo);
            cursor.lastNumber = std::max(cursor.lastNumber, number);
        }
    } else {
        for (std::size_t i = cursor.nextIndex % slots.size();; i = (i + 1) % slots.size()) {
            if (!slots[i]->held) takeSlot(*slots[i]);
            if (i == end) break;
        }
    }
    cursor.nextIndex = end + 1;
    // The camera needs a buffer for its next frame even when the consumer keeps every frame it got.
    returnToCamera();
    if (std::none_of(slots.begin(), slots.end(), [](const auto& slot) { return !slot->held; })) growRing();
}

void StreamCore::takeSlot(FrameSlot& slot) {
    checkSdk(ueye_role::holdBuffer(camera, pixelsOf(slot)), ueye_role::kHoldBuffer);
    slot.held = true;
    std::uint64_t number{};
    std::uint64_t deviceTime{};
    checkSdk(ueye_role::frameInfo(camera, slot.memoryId, &number, &deviceTime), ueye_role::kFrameInfo);
    // A frame from before the last one taken (or a change), or none yet.
    if (number <= cursor.lastNumber) {
        checkSdk(ueye_role::releaseBuffer(camera, pixelsOf(slot)), ueye_role::kReleaseBuffer);
        slot.held = false;
        return;
    }
    cursor.lastNumber = number;
    slot.sequence = number;
    slot.deviceTime = deviceTime * 100;
    slot.width = cursor.width;
    slot.height = cursor.height;
    slot.stride = pitch;
    slot.color = color;
    slot.hostTime = std::chrono::steady_clock::now();
    pool->lend(&slot);
    push(&slot);
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
}

void StreamCore::releaseQueue() {
    for (FrameSlot* slot : queue) slot->pool->give(slot);
    queue.clear();
}

}  // namespace Nimbrel_model::detail
