// Image memories and the capture sequence.
#include "VirtualCamera.h"

#include <cstring>

namespace ueye_sim::detail {

int VirtualCamera::allocateMemory(HIDS handle, int width, int height, int bitsPerPixel, char** data, int* id) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    return memories_.allocate(width, height, bitsPerPixel, data, id);
}

int VirtualCamera::adoptMemory(HIDS handle, int width, int height, int bitsPerPixel, char* data, int* id) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    return memories_.adopt(width, height, bitsPerPixel, data, id);
}

int VirtualCamera::setActiveMemory(HIDS handle, char* data, int id) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    return memories_.setActive(data, id);
}

int VirtualCamera::freeMemory(HIDS handle, char* data, int id) {
    // The lifecycle lock keeps a close or a second free from erasing the memory while we wait.
    std::lock_guard lifecycle(lifecycleMutex_);
    std::unique_lock lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    ImageMemory* memory = memories_.find(data, id);
    if (!memory) return IS_INVALID_MEMORY_POINTER;
    // Capture picks it no more; a frame being drawn into it is finished first.
    memories_.detach(*memory);
    frameDone_.wait(lock, [memory] { return !memory->beingWritten; });
    memories_.erase(*memory);
    return IS_SUCCESS;
}

int VirtualCamera::clearSequence(HIDS handle) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    memories_.clearSequence();
    return IS_SUCCESS;
}

int VirtualCamera::addToSequence(HIDS handle, char* data, int id) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    return memories_.addToSequence(data, id);
}

int VirtualCamera::activeBuffer(HIDS handle, int* number, char** inUse, char** lastDone) const {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    const auto buffer = memories_.activeBuffer();
    if (!buffer) return IS_NO_SUCCESS;
    if (number) *number = buffer->number;
    if (inUse) *inUse = buffer->inUse;
    if (lastDone) *lastDone = buffer->lastDone;
    return IS_SUCCESS;
}

int VirtualCamera::lockBuffer(HIDS handle, char* data) {
    std::unique_lock lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    ImageMemory* memory = memories_.atAddress(data);
    if (!memory) return IS_INVALID_MEMORY_POINTER;
    if (memory->locked) return IS_SEQUENCE_BUF_ALREADY_LOCKED;
    // A frame being drawn into it is finished first: the holder gets it whole.
    frameDone_.wait(lock, [&] { return !memory->beingWritten || !openLocked(handle); });
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    memory->locked = true;
    return IS_SUCCESS;
}

int VirtualCamera::unlockBuffer(HIDS handle, char* data) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    ImageMemory* memory = memories_.atAddress(data);
    if (!memory) return IS_INVALID_MEMORY_POINTER;
    memory->locked = false;
    return IS_SUCCESS;
}

int VirtualCamera::imageInfo(HIDS handle, int id, UEYEIMAGEINFO* info, int size) {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!info || size != static_cast<int>(sizeof *info)) return IS_INVALID_PARAMETER;
    const ImageMemory* memory = memories_.byId(id);
    if (!memory) return IS_INVALID_MEMORY_POINTER;
    std::memset(info, 0, sizeof *info);
    info->u64FrameNumber = memory->frameNumber;
    info->u64TimestampDevice = memory->deviceTime;
    return IS_SUCCESS;
}

}  // namespace ueye_sim::detail
