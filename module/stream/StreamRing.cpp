// The ring of pooled buffers the frame stream lends the camera as its capture
// sequence, and how the camera gets its own memory back.
#include <Nimbrel_model/Camera.h>

#include "sdk/Failures.h"
#include "stream/StreamControl.h"
#include "stream/StreamCore.h"

namespace Nimbrel_model::detail {

void StreamCore::lendRing(std::size_t count) {
    const std::size_t bytes = pitch * static_cast<std::size_t>(maxHeight);
    if (kept && kept->bytes() == bytes && kept->unused()) {
        pool = kept;
        kept = nullptr;
    } else {
        retireKept();
        pool = FramePool::create(bytes);
    }
    lent = true;
    pool->takeReturned(returnedSlots);  // given back after the last stop: no longer the camera's
    while (pool->slots().size() < count) pool->add();
    for (const auto& slot : pool->slots()) {
        slot->held = false;
        adopt(*slot);
    }
    lendSequence();
}

void StreamCore::adopt(FrameSlot& slot) {
    checkSdk(ueye_role::adoptMemory(camera, maxWidth, maxHeight, color ? 24 : 8, pixelsOf(slot), &slot.memoryId),
             ueye_role::kAdoptMemory);
}

void StreamCore::growRing() {
    FrameSlot* slot = pool->add();
    adopt(*slot);
    checkSdk(is_AddToSequence(camera, pixelsOf(*slot), slot->memoryId), "is_AddToSequence");
}

void StreamCore::lendSequence() {
    checkSdk(is_ClearSequence(camera), "is_ClearSequence");
    for (const auto& slot : pool->slots())
        checkSdk(is_AddToSequence(camera, pixelsOf(*slot), slot->memoryId), "is_AddToSequence");
}

void StreamCore::returnToCamera() {
    pool->takeReturned(returnedSlots);
    for (FrameSlot* slot : returnedSlots) {
        checkSdk(ueye_role::releaseBuffer(camera, pixelsOf(*slot)), ueye_role::kReleaseBuffer);
        slot->held = false;
    }
}

void StreamCore::reclaimRing() {
    if (!pool) return;
    std::exception_ptr first;
    const auto attempt = [&first](INT status, const char* call) {
        try {
            checkSdk(status, call);
            return true;
        } catch (...) {
            if (!first) first = std::current_exception();
            return false;
        }
    };
    // The camera's own memory first, so that no new frame goes into the ring.
    // Read now: no change runs meanwhile, and one may have replaced it.
    const Camera& owner = *Camera::getInstance();
    attempt(is_ClearSequence(camera), "is_ClearSequence");
    attempt(is_AddToSequence(camera, CameraInternals::memory(owner), CameraInternals::memoryId(owner)),
            "is_AddToSequence");
    bool letGo = true;
    for (const auto& slot : pool->slots()) {
        if (slot->memoryId == 0) continue;
        if (attempt(is_FreeImageMem(camera, pixelsOf(*slot), slot->memoryId), "is_FreeImageMem"))
            slot->memoryId = 0;
        else
            letGo = false;
    }
    lent = false;
    FramePool* ring = pool;
    pool = nullptr;
    // Memory the camera may still write into stays allocated for good.
    if (letGo) {
        kept = ring;  // none kept meanwhile: the start took it or let it go
    } else {
        abandoned.push_back(ring);
    }
    if (first) std::rethrow_exception(first);
}

void StreamCore::retireKept() {
    if (kept) kept->retire();
    kept = nullptr;
}

}  // namespace Nimbrel_model::detail
