// The frame stream's memory: slots the camera writes its frames into, shared
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
    // The stream's own: the camera's id for the memory (0 while not one of
    // its buffers) and whether the stream holds it from the camera.
    int memoryId = 0;
    bool held = false;
    std::uint64_t sequence = 0;
    std::uint64_t deviceTime = 0;  // ns
    std::chrono::steady_clock::time_point hostTime;
    int width = 0;
    int height = 0;
    std::size_t stride = 0;
    bool color = false;
};

struct FramePool {
    // An empty pool of slots of `bytes`; it belongs to its creator until retire().
    static FramePool* create(std::size_t bytes);

    // One more slot, its pages touched so that no frame pays for them. The
    // slots are the creator's to add and walk; only give() comes from others.
    FrameSlot* add();
    const std::vector<std::unique_ptr<FrameSlot>>& slots() const { return slots_; }

    // Hands the slot out with one reference.
    void lend(FrameSlot* slot);
    // Called when its last reference goes: the slot waits in returned() for
    // the creator; the pool goes when retired and every slot is back.
    void give(FrameSlot* slot);
    // The slots given back since the last call, swapped into `into` (no
    // allocation once both have room).
    void takeReturned(std::vector<FrameSlot*>& into);
    // The creator lets go.
    void retire();
    // No slot is handed out: nobody but the creator can reach one.
    bool unused();
    std::size_t bytes() const { return bytes_; }

private:
    FramePool() = default;
    void releaseUser(std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::vector<std::unique_ptr<FrameSlot>> slots_;
    std::vector<FrameSlot*> returned_;
    std::size_t bytes_ = 0;
    int users_ = 1;  // the creator and each slot handed out
};

}  // namespace Nimbrel_model::detail
