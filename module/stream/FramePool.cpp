#include "stream/FramePool.h"

#include "core/PixelOps.h"

#include <cstring>

namespace Nimbrel_model::detail {

FramePool* FramePool::create(std::size_t bytes) {
    std::unique_ptr<FramePool> pool(new FramePool());
    pool->bytes_ = bytes;
    return pool.release();
}

FrameSlot* FramePool::add() {
    auto slot = std::make_unique<FrameSlot>();
    slot->pool = this;
    slot->pixels.reset(allocateFrame(bytes_));
    std::memset(slot->pixels.get(), 0, bytes_);
    slots_.push_back(std::move(slot));
    return slots_.back().get();
}

void FramePool::lend(FrameSlot* slot) {
    std::lock_guard lock(mutex_);
    slot->refs.store(1, std::memory_order_relaxed);
    ++users_;
}

void FramePool::give(FrameSlot* slot) {
    std::unique_lock lock(mutex_);
    returned_.push_back(slot);
    releaseUser(lock);
}

void FramePool::takeReturned(std::vector<FrameSlot*>& into) {
    into.clear();
    std::lock_guard lock(mutex_);
    into.swap(returned_);
}

void FramePool::retire() {
    std::unique_lock lock(mutex_);
    releaseUser(lock);
}

bool FramePool::unused() {
    std::lock_guard lock(mutex_);
    return users_ == 1;
}

void FramePool::releaseUser(std::unique_lock<std::mutex>& lock) {
    if (--users_ > 0) return;
    lock.unlock();
    delete this;
}

}  // namespace Nimbrel_model::detail
