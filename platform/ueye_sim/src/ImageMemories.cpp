#include "ImageMemories.h"

#include "ueye.h"

#include <algorithm>

namespace ueye_sim::detail {

namespace {
bool validShape(int width, int height, int bitsPerPixel) {
    return width > 0 && height > 0 && (bitsPerPixel == 8 || bitsPerPixel == 24);
}
}  // namespace

int ImageMemories::allocate(int width, int height, int bitsPerPixel, char** data, int* id) {
    if (!data || !id || !validShape(width, height, bitsPerPixel)) return IS_INVALID_PARAMETER;
    const std::size_t bytes = static_cast<std::size_t>(width) * height * (bitsPerPixel / 8);
    // calloc: zeroed pages come lazily, so a large memory costs nothing until written.
    std::unique_ptr<char, ImageMemory::Free> block(static_cast<char*>(std::calloc(bytes, 1)));
    if (!block) return IS_OUT_OF_MEMORY;
    *data = block.get();
    *id = add(width, height, bitsPerPixel, std::move(block));
    return IS_SUCCESS;
}

int ImageMemories::adopt(int width, int height, int bitsPerPixel, char* data, int* id) {
    if (!data || !id || !validShape(width, height, bitsPerPixel)) return IS_INVALID_PARAMETER;
    if (atAddress(data)) return IS_INVALID_MEMORY_POINTER;
    *id = add(width, height, bitsPerPixel, std::unique_ptr<char, ImageMemory::Free>(data, ImageMemory::Free{false}));
    return IS_SUCCESS;
}

int ImageMemories::add(int width, int height, int bitsPerPixel, std::unique_ptr<char, ImageMemory::Free> block) {
    const int newId = nextId_++;
    ImageMemory& memory = memories_[newId];
    memory.id = newId;
    memory.width = width;
    memory.height = height;
    memory.bitsPerPixel = bitsPerPixel;
    memory.data = std::move(block);
    return newId;
}

ImageMemory* ImageMemories::byId(int id) {
    const auto found = memories_.find(id);
    return found == memories_.end() ? nullptr : &found->second;
}

const ImageMemory* ImageMemories::byId(int id) const {
    const auto found = memories_.find(id);
    return found == memories_.end() ? nullptr : &found->second;
}

ImageMemory* ImageMemories::atAddress(const char* data) {
    for (auto& entry : memories_)
        if (data && entry.second.data.get() == data) return &entry.second;
    return nullptr;
}

ImageMemory* ImageMemories::find(const char* data, int id) {
    ImageMemory* memory = byId(id);
    return memory && data && memory->data.get() == data ? memory : nullptr;
}

int ImageMemories::setActive(const char* data, int id) {
    if (!find(data, id)) return IS_INVALID_MEMORY_POINTER;
    activeId_ = id;
    return IS_SUCCESS;
}

int ImageMemories::addToSequence(const char* data, int id) {
    if (!find(data, id)) return IS_INVALID_MEMORY_POINTER;
    if (std::find(sequence_.begin(), sequence_.end(), id) != sequence_.end()) return IS_INVALID_PARAMETER;
    sequence_.push_back(id);
    return IS_SUCCESS;
}

void ImageMemories::clearSequence() {
    sequence_.clear();
    sequencePosition_ = 0;
}

void ImageMemories::detach(const ImageMemory& memory) {
    if (activeId_ == memory.id) activeId_.reset();
    if (lastDoneId_ == memory.id) lastDoneId_.reset();
    const auto found = std::find(sequence_.begin(), sequence_.end(), memory.id);
    if (found == sequence_.end()) return;
    const auto index = static_cast<std::size_t>(found - sequence_.begin());
    sequence_.erase(found);
    if (index < sequencePosition_) --sequencePosition_;
    if (sequencePosition_ >= sequence_.size()) sequencePosition_ = 0;
}

void ImageMemories::erase(const ImageMemory& memory) {
    detach(memory);
    memories_.erase(memory.id);
}

void ImageMemories::eraseAll() {
    memories_.clear();
    activeId_.reset();
    lastDoneId_.reset();
    clearSequence();
}

std::optional<ActiveBuffer> ImageMemories::activeBuffer() const {
    if (sequence_.empty()) return std::nullopt;
    const ImageMemory* inUse = byId(sequence_[sequencePosition_]);
    const ImageMemory* last = lastDoneId_ ? byId(*lastDoneId_) : nullptr;
    return ActiveBuffer{static_cast<int>(sequencePosition_) + 1, inUse ? inUse->data.get() : nullptr,
                        last ? last->data.get() : nullptr};
}

bool ImageMemories::hasCaptureTarget() const { return !sequence_.empty() || activeId_.has_value(); }

ImageMemory* ImageMemories::beginFrame() {
    ImageMemory* target = nullptr;
    if (!sequence_.empty()) {
        for (std::size_t tried = 0; tried < sequence_.size(); ++tried) {
            target = byId(sequence_[sequencePosition_]);
            if (target && !target->locked) break;
            sequencePosition_ = (sequencePosition_ + 1) % sequence_.size();
        }
    } else if (activeId_) {
        target = byId(*activeId_);
    }
    if (target && !target->locked) target->beingWritten = true;
    return target;
}

void ImageMemories::endFrame(ImageMemory& memory) {
    memory.beingWritten = false;
    lastDoneId_ = memory.id;
    if (!sequence_.empty() && sequence_[sequencePosition_] == memory.id)
        sequencePosition_ = (sequencePosition_ + 1) % sequence_.size();
}

}  // namespace ueye_sim::detail
