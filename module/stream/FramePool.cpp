#include "stream/FramePool.h"

#include "core/PixelOps.h"

#include <cstring>

namespace Nimbrel_model::detail {

FramePool* FramePool::create(std::size_t count, std::size_t bytes) {
    std::unique_ptr<FramePool> pool(new FramePool());
    for (std::size_t i = 0; i < count; ++i) {
        auto slot = std::make_unique<FrameSlot>();
        slot->pool = pool.get();
        slot->pixels.reset(allocateFrame(bytes));
        // Touched now, so that no frame pays for the first touch of its pages.
        std::memset(slot->pixels.get(), 0, bytes);
        pool->free_.push_back(slot.get());
        pool->slots_.push_back(std::move(slot));
    }
    return pool.release();
}

FrameSlot* FramePool::take() {
    std::lock_guard lock(mutex_);
    if (free_.empty()) return nullptr;
    FrameSlot* slot = free_.back();
    free_.pop_back();
    slot->refs.store(1, std::memory_order_relaxed);
    ++users_;
    return slot;
}

void FramePool::give(FrameSlot* slot) {
    std::unique_lock lock(mutex_);
    free_.push_back(slot);
    releaseUser(lock);
}

void FramePool::retire() {
    std::unique_lock lock(mutex_);
    releaseUser(lock);
}

void FramePool::releaseUser(std::unique_lock<std::mutex>& lock) {
    if (--users_ > 0) return;
    lock.unlock();
    delete this;
}

}  // namespace Nimbrel_model::detail
