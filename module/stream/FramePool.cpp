#include "stream/FramePool.h"

#include "core/PixelOps.h"

#include <cstring>

namespace Nimbrel_model::detail {

FramePool* FramePool::create(std::size_t count, std::size_t bytes) {
    std::unique_ptr<FramePool> pool(new FramePool());
    pool->bytes_ = bytes;
    for (std::size_t i = 0; i < count; ++i) pool->free_.push_back(pool->addSlot());
    return pool.release();
}

FrameSlot* FramePool::addSlot() {
    auto slot = std::make_unique<FrameSlot>();
    slot->pool = this;
    slot->pixels.reset(allocateFrame(bytes_));
    // Touched now, so that no frame pays for the first touch of its pages.
    std::memset(slot->pixels.get(), 0, bytes_);
    slots_.push_back(std::move(slot));
    return slots_.back().get();
}

FrameSlot* FramePool::take() {
    std::lock_guard lock(mutex_);
    FrameSlot* slot = nullptr;
    if (free_.empty()) {
        slot = addSlot();
    } else {
        slot = free_.back();
        free_.pop_back();
    }
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
