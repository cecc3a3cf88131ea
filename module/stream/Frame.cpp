#include <Nimbrel_model/FrameStream.h>

#include "stream/FramePool.h"

namespace Nimbrel_model {

namespace {
void acquire(detail::FrameSlot* slot) {
    if (slot) slot->refs.fetch_add(1, std::memory_order_relaxed);
}
void release(detail::FrameSlot* slot) {
    if (slot && slot->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) slot->pool->give(slot);
}
}  // namespace

Frame::Frame(const Frame& other) noexcept : slot_(other.slot_) { acquire(slot_); }

Frame::Frame(Frame&& other) noexcept : slot_(other.slot_) { other.slot_ = nullptr; }

// Taking the new frame before letting go of the old makes self-assignment safe.
Frame& Frame::operator=(const Frame& other) noexcept {  // NOLINT(bugprone-unhandled-self-assignment)
    acquire(other.slot_);
    release(slot_);
    slot_ = other.slot_;
    return *this;
}

Frame& Frame::operator=(Frame&& other) noexcept {
    if (this != &other) {
        release(slot_);
        slot_ = other.slot_;
        other.slot_ = nullptr;
    }
    return *this;
}

Frame::~Frame() { release(slot_); }

std::uint64_t Frame::sequence() const { return slot_ ? slot_->sequence : 0; }
std::uint64_t Frame::deviceTime() const { return slot_ ? slot_->deviceTime : 0; }
std::chrono::steady_clock::time_point Frame::hostTime() const {
    return slot_ ? slot_->hostTime : std::chrono::steady_clock::time_point{};
}
int Frame::width() const { return slot_ ? slot_->width : 0; }
int Frame::height() const { return slot_ ? slot_->height : 0; }
std::size_t Frame::stride() const { return slot_ ? slot_->stride : 0; }
bool Frame::isColor() const { return slot_ && slot_->color; }
const std::uint8_t* Frame::data() const { return slot_ ? slot_->pixels.get() : nullptr; }
std::size_t Frame::size() const { return slot_ ? slot_->stride * static_cast<std::size_t>(slot_->height) : 0; }

}  // namespace Nimbrel_model
