#include "FrameRenderer.h"

#include "TestPattern.h"
#include "ToneCurves.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ueye_sim::detail {
namespace {

// A camera writes its frames by DMA, past the processor's caches: written
// through them instead, a large frame would evict everything its consumer
// runs on, a cost no real camera puts on the host. Non-temporal stores where
// the processor has them; fenced() makes them visible before the frame is
// handed over.
void writeLine(char* to, const std::uint8_t* from, std::size_t bytes) {
#if defined(__x86_64__)
    const std::size_t head = std::min(bytes, (16 - reinterpret_cast<std::uintptr_t>(to) % 16) % 16);
    std::memcpy(to, from, head);
    std::size_t at = head;
    for (; at + 16 <= bytes; at += 16)
        _mm_stream_si128(reinterpret_cast<__m128i*>(to + at),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at)));
    std::memcpy(to + at, from + at, bytes - at);
#else
    std::memcpy(to, from, bytes);
#endif
}

void fenced() {
#if defined(__x86_64__)
    _mm_sfence();
#endif
}

// Pixels already in the output format, from which every line is copied whole:
// the gradient's period repeated far enough that any line is one window of it,
// and the one line of colour bars.
class LineSources {
public:
    LineSources(const CameraModel& model, const CameraSettings& settings, int columns, int pixelBytes)
        : model_(model), curves_(toneCurves(settings, model.color)), pixelBytes_(pixelBytes) {
        const int stripLength = kDiagonalPeriod + columns;
        strip_.resize(static_cast<std::size_t>(stripLength) * pixelBytes_);
        for (auto& sums : stripSums_) sums.assign(stripLength + 1, 0);
        for (int k = 0; k < stripLength; ++k) put(strip_.data(), k, diagonalColor(k % kDiagonalPeriod), &stripSums_, k);
        bars_.resize(static_cast<std::size_t>(columns) * pixelBytes_);
        for (int i = 0; i < columns; ++i) put(bars_.data(), i, barColor(settings.aoiX + i, model.maxWidth), nullptr, i);
    }

    const std::uint8_t* gradient(int phase) const {
        return strip_.data() + static_cast<std::size_t>(phase) * pixelBytes_;
    }
    const std::uint8_t* bars() const { return bars_.data(); }
    // Channel sums of the gradient window starting at `phase`, `columns` long.
    std::array<long long, 3> gradientSums(int phase, int columns) const {
        std::array<long long, 3> sums{};
        for (int c = 0; c < 3; ++c) sums[c] = stripSums_[c][phase + columns] - stripSums_[c][phase];
        return sums;
    }
    const std::array<long long, 3>& barSums() const { return barSums_; }

private:
    void put(std::uint8_t* line, int index, Rgb scene, std::array<std::vector<long long>, 3>* prefix, int k) {
        if (!model_.color) scene.r = scene.g = scene.b = luma(scene.r, scene.g, scene.b);
        const int r = curves_.red[scene.r];
        const int g = curves_.green[scene.g];
        const int b = curves_.blue[scene.b];
        std::uint8_t* pixel = line + static_cast<std::size_t>(index) * pixelBytes_;
        std::array<int, 3> written{r, g, b};
        if (pixelBytes_ == 3) {
            pixel[0] = static_cast<std::uint8_t>(r);
            pixel[1] = static_cast<std::uint8_t>(g);
            pixel[2] = static_cast<std::uint8_t>(b);
        } else {
            pixel[0] = luma(r, g, b);
            written = {pixel[0], pixel[0], pixel[0]};
        }
        for (int c = 0; c < 3; ++c) {
            if (prefix)
                (*prefix)[c][k + 1] = (*prefix)[c][k] + written[c];
            else
                barSums_[c] += written[c];
        }
    }

    const CameraModel& model_;
    ToneCurves curves_;
    int pixelBytes_;
    std::vector<std::uint8_t> strip_;
    std::vector<std::uint8_t> bars_;
    std::array<std::vector<long long>, 3> stripSums_;
    std::array<long long, 3> barSums_{};
};

// The frame number in the top-left corner, one white or black square per bit.
void stampCounter(const FrameTarget& target, std::size_t pitch, int rows, int columns, int pixelBytes,
                  std::uint64_t frame) {
    const int counterRows = std::min(rows, kCounterBlock);
    for (int bit = 0; bit < kCounterBits; ++bit) {
        const int x = bit * kCounterBlock;
        if (x >= columns) break;
        const int width = std::min(kCounterBlock, columns - x);
        const int level = counterBitSet(x, frame) ? 255 : 0;
        for (int j = 0; j < counterRows; ++j)
            std::memset(target.data + j * pitch + static_cast<std::size_t>(x) * pixelBytes, level,
                        static_cast<std::size_t>(width) * pixelBytes);
    }
}

}  // namespace

FrameMeans renderFrame(const CameraModel& model, const CameraSettings& settings, std::uint64_t frame,
                       const FrameTarget& target) {
    const int pixelBytes = settings.colorMode == IS_CM_MONO8 ? 1 : 3;
    const std::size_t pitch = static_cast<std::size_t>(target.width) * target.bitsPerPixel / 8;
    const int columns = static_cast<int>(std::min<std::size_t>(std::max(settings.aoiWidth, 0), pitch / pixelBytes));
    const int rows = std::min(settings.aoiHeight, target.height);
    if (!target.data || columns <= 0 || rows <= 0) return {};

    const LineSources sources(model, settings, columns, pixelBytes);
    const std::size_t lineBytes = static_cast<std::size_t>(columns) * pixelBytes;
    const int movingRows = model.maxHeight / 2;
    std::array<long long, 3> sums{};
    for (int j = 0; j < rows; ++j) {
        const int y = settings.aoiY + j;
        char* line = target.data + j * pitch;
        if (y < movingRows) {
            const int phase = diagonalPhase(settings.aoiX, y, frame);
            writeLine(line, sources.gradient(phase), lineBytes);
            const auto lineSums = sources.gradientSums(phase, columns);
            for (int c = 0; c < 3; ++c) sums[c] += lineSums[c];
        } else {
            writeLine(line, sources.bars(), lineBytes);
            for (int c = 0; c < 3; ++c) sums[c] += sources.barSums()[c];
        }
    }
    stampCounter(target, pitch, rows, columns, pixelBytes, frame);
    fenced();

    const double pixels = static_cast<double>(rows) * columns;
    return {static_cast<double>(sums[0]) / pixels, static_cast<double>(sums[1]) / pixels,
            static_cast<double>(sums[2]) / pixels};
}

void stampFrameNumber(const CameraSettings& settings, std::uint64_t number, const FrameTarget& target) {
    const int pixelBytes = settings.colorMode == IS_CM_MONO8 ? 1 : 3;
    const std::size_t pitch = static_cast<std::size_t>(target.width) * target.bitsPerPixel / 8;
    const std::size_t lineBytes =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(settings.aoiWidth, 0)) * pixelBytes, pitch);
    const int rows = std::min(settings.aoiHeight, target.height);
    if (!target.data || lineBytes < 8 || rows <= 0) return;
    std::array<char, 8> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
    std::memcpy(target.data, bytes.data(), bytes.size());
    std::memcpy(target.data + static_cast<std::size_t>(rows - 1) * pitch, bytes.data(), bytes.size());
}

}  // namespace ueye_sim::detail
