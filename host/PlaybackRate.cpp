#include "PlaybackRate.h"

#include "RiffChunks.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numeric>

namespace host {

namespace {

constexpr long long kDenominator = 1000;

void putLe32(std::fstream& file, std::uint64_t offset, std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xff), static_cast<char>((value >> 8) & 0xff),
                           static_cast<char>((value >> 16) & 0xff), static_cast<char>((value >> 24) & 0xff)};
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(bytes, sizeof bytes);
}

}  // namespace

bool playbackRateRounded(double fps) { return std::isfinite(fps) && fps > 0.0 && fps != std::round(fps); }

bool setPlaybackRate(const std::string& path, double fps) {
    if (!(fps > 0.0 && fps <= 1e6)) return false;
    long long rate = std::llround(fps * kDenominator);
    long long scale = kDenominator;
    const long long common = std::gcd(rate, scale);
    rate /= common;
    scale /= common;

    std::uint64_t mainHeader = 0;
    std::uint64_t videoHeader = 0;
    walkRiffChunks(path, 0, [&](const RiffChunk& chunk, std::istream& in) {
        if (chunk.id == "avih") mainHeader = chunk.dataOffset;
        if (chunk.id == "strh" && !videoHeader) {
            char type[4] = {};
            in.clear();
            in.seekg(static_cast<std::streamoff>(chunk.dataOffset));
            if (in.read(type, 4) && std::string(type, 4) == "vids") videoHeader = chunk.dataOffset;
        }
        return !(chunk.id == "LIST" && chunk.listType == "movi");
    });
    if (!mainHeader || !videoHeader) return false;

    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return false;
    // avih: dwMicroSecPerFrame first; strh: dwScale and dwRate at 20 and 24.
    putLe32(file, mainHeader,
            static_cast<std::uint32_t>(std::llround(1e6 * static_cast<double>(scale) / static_cast<double>(rate))));
    putLe32(file, videoHeader + 20, static_cast<std::uint32_t>(scale));
    putLe32(file, videoHeader + 24, static_cast<std::uint32_t>(rate));
    file.flush();
    return static_cast<bool>(file);
}

}  // namespace host
