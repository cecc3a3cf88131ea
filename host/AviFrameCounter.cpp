#include "AviFrameCounter.h"

#include "RiffChunks.h"

#include <cmath>

namespace host {

namespace {
// dwTotalFrames sits after four other 32-bit fields of the main header.
constexpr std::uint64_t avihTotalFramesOffset = 16;
}  // namespace

std::uint64_t AviFrameCounter::update() {
    const std::uint64_t before = frames_;
    offset_ = walkRiffChunks(path_, offset_, [this](const RiffChunk& chunk, std::istream&) {
        if (chunk.isVideoFrame()) ++frames_;
        return true;
    });
    if (frames_ != before) {
        latest_ = {frames_, Clock::now()};
        if (first_.frames == 0) first_ = latest_;
    }
    return frames_;
}

double AviFrameCounter::framesPerSecond() const {
    const double seconds = std::chrono::duration<double>(latest_.time - first_.time).count();
    return seconds > 0.0 ? static_cast<double>(latest_.frames - first_.frames) / seconds : 0.0;
}

std::uint64_t declaredFrameCount(const std::string& path) {
    std::uint32_t mainHeaderFrames = 0;
    std::uint32_t openDmlFrames = 0;
    walkRiffChunks(path, 0, [&](const RiffChunk& chunk, std::istream& in) {
        if (chunk.id == "avih") readLe32(in, chunk.dataOffset + avihTotalFramesOffset, mainHeaderFrames);
        if (chunk.id == "dmlh") readLe32(in, chunk.dataOffset, openDmlFrames);
        // The headers all come before the frames.
        return !(chunk.id == "LIST" && chunk.listType == "movi");
    });
    return openDmlFrames ? openDmlFrames : mainHeaderFrames;
}

std::uint64_t framesForLength(double seconds, double fps) {
    // A product a rounding error above a whole number still means that number.
    return static_cast<std::uint64_t>(std::ceil(seconds * fps - 1e-9));
}

}  // namespace host
