// The frame stream's memory: slots allocated when the stream starts, shared
// by the stream and the Frames handed out, freed when the last one lets go.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace Nimbrel_model::detail {

struct FramePool;

struct FrameSlot {
    FramePool* pool = nullptr;
    std::atomic<int> refs{0};
    std::unique_ptr<unsigned char[]> pixels;
    std::uint64_t sequence = 0;
    std::uint64_t deviceTime = 0;  // ns
    std::chrono::steady_clock::time_point hostTime;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    bool color = false;
};

struct FramePool {
    // `count` slots of `bytes` each; the pool belongs to its creator until retire().
    static FramePool* create(std::size_t count, std::size_t bytes);

    // A free slot with one reference, or nullptr when every slot is in use.
    FrameSlot* take();
    // Back to the free list; the pool goes when retired and every slot is back.
    void give(FrameSlot* slot);
    // The creator lets go.
    void retire();

private:
    FramePool() = default;
    void releaseUser(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::vector<std::unique_ptr<FrameSlot>> slots_;
    std::vector<FrameSlot*> free_;
    int users_ = 1;  // the creator and each slot out of the free list
};

}  // namespace Nimbrel_model::detail
