// The frame stream's state, shared by its public calls and its worker. The
// stream lends the camera a ring of pooled buffers as its capture sequence:
// the camera writes each frame straight into one, the worker holds that
// buffer and queues it as a Frame, and the buffer goes back to the camera
// when the last Frame on it is gone. No frame is copied.
#pragma once

#include "sdk/ueye_by_role.h"
#include "stream/FramePool.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace Nimbrel_model::detail {

inline char* pixelsOf(const FrameSlot& slot) { return reinterpret_cast<char*>(slot.pixels.get()); }

struct StreamCore {
    mutable std::mutex mutex;
    std::condition_variable frameReady;  // consumers: a frame, a failure or the end
    std::condition_variable control;     // the worker: stop or the end of a pause
    std::condition_variable idle;        // a pause: the worker makes no camera call
    std::thread worker;
    int pauses{};
    bool busy{};

    // Each set by start() (value-initialised until then).
    bool running{};
    bool stopRequested{};
    bool eventEnabled{};
    bool fresh{};       // the next frame may predate a change: look again, keep none
    bool resequence{};  // the camera's sequence was replaced: lend it the ring again
    std::exception_ptr failure;
    std::deque<FrameSlot*> queue;
    std::size_t depth{};
    std::uint64_t delivered{};
    std::uint64_t dropped{};
    std::optional<std::uint64_t> lastDelivered;
    HIDS camera{};
    int maxWidth{};
    int maxHeight{};
    bool color{};
    // Bytes of a sensor row: the camera writes any area at the top left of
    // whole rows, so this is each frame's stride and a buffer's row.
    std::size_t pitch{};

    // The ring, while the camera has it; the last one, kept while the camera
    // is open: the next start lends it again when none of its frames is held
    // (no allocation), and a picture taken from it stays readable. A ring the
    // camera may not have let go of is never freed.
    FramePool* pool{};
    FramePool* kept{};
    std::vector<FramePool*> abandoned;
    std::atomic<bool> lent{false};
    std::vector<FrameSlot*> returnedSlots;  // the worker's, reused
    // The worker's: where in the ring the camera writes next, the last
    // frame taken or passed by, and the area read at the last change.
    struct Cursor {
        std::size_t nextIndex{};
        std::uint64_t lastNumber{};
        int width{};
        int height{};
    } cursor;

    void run();
    // The frames finished since the last turn: each held and queued, or all
    // passed by (`passBy`).
    void takeFrames(bool passBy);
    void takeSlot(FrameSlot& slot);
    void push(FrameSlot* slot);
    void releaseQueue();

    // Each throws the failing call's Qel::Exception.
    void lendRing(std::size_t count);  // at least `count` buffers as the sequence
    void adopt(FrameSlot& slot);       // the slot as an image memory of the camera
    void growRing();                   // one more buffer, for a consumer that keeps frames
    void returnToCamera();             // frames let go of: their buffers are the camera's again
    void lendSequence();               // the ring as the sequence again
    // Gives the camera its own memory back as the sequence and lets go of
    // every buffer, trying each step; throws the first failure afterwards.
    void reclaimRing();
    void retireKept();
};

}  // namespace Nimbrel_model::detail
