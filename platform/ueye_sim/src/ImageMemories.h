// The image memories of the open camera: allocation, the active memory, the
// capture sequence and which buffer the capture thread writes. Not locked:
// the camera calls it under its own lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace ueye_sim::detail {

// Frees what the simulator allocated; the application's own memory is only let go of.
struct MemoryRelease {
    bool owned = true;
    void operator()(char* block) const {
        if (owned) std::free(block);
    }
};

struct ImageMemory {
    using Free = MemoryRelease;
    int id = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::unique_ptr<char, Free> data;
    bool beingWritten = false;
    bool locked = false;  // held by the application: capture passes it by
    // The last frame written into it: number from 1, device time in 0.1 us.
    std::uint64_t frameNumber = 0;
    std::uint64_t deviceTime = 0;
};

struct ActiveBuffer {
    int number;      // 1-based position in the sequence
    char* inUse;     // written now, or next
    char* lastDone;  // last completed frame; null before the first
};

class ImageMemories {
public:
    // Returns an SDK status; on success the memory is zeroed.
    int allocate(int width, int height, int bitsPerPixel, char** data, int* id);
    // The application's memory as an image memory, left as it is.
    int adopt(int width, int height, int bitsPerPixel, char* data, int* id);
    // The memory with both that address and that id, or nullptr.
    ImageMemory* find(const char* data, int id);
    ImageMemory* atAddress(const char* data);
    int setActive(const char* data, int id);
    int addToSequence(const char* data, int id);
    void clearSequence();
    // Takes the memory out of the active slot and the sequence, so capture leaves it alone.
    void detach(const ImageMemory& memory);
    void erase(const ImageMemory& memory);
    void eraseAll();

    std::optional<ActiveBuffer> activeBuffer() const;
    // Where the next frame goes: the sequence's buffer in use, else the active
    // memory; a locked buffer of the sequence is passed by for the next one.
    // The result is locked itself when no free buffer is left: the frame is lost.
    ImageMemory* beginFrame();
    ImageMemory* byId(int id);
    void endFrame(ImageMemory& memory);
    bool hasCaptureTarget() const;
    int count() const { return static_cast<int>(memories_.size()); }

private:
    const ImageMemory* byId(int id) const;
    int add(int width, int height, int bitsPerPixel, std::unique_ptr<char, ImageMemory::Free> block);

    std::map<int, ImageMemory> memories_;
    int nextId_ = 1;
    std::optional<int> activeId_;
    std::vector<int> sequence_;
    std::size_t sequencePosition_ = 0;
    std::optional<int> lastDoneId_;
};

}  // namespace ueye_sim::detail
