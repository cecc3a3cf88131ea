#include "PictureStats.h"

#include "Checks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace check {

namespace {

const char* const kChannelNames[] = {"red", "green", "blue", "grey"};

double luma(double r, double g, double b) { return (77.0 * r + 150.0 * g + 29.0 * b) / 256.0; }

// First pixel of block `index` of `count` over `length` pixels.
int blockStart(int index, int length) {
    return static_cast<int>(static_cast<long long>(index) * length / BlockMeans::kGrid);
}

}  // namespace

BlockMeans::BlockMeans(const RgbView& view) {
    std::array<std::uint64_t, static_cast<std::size_t>(kBlocks) * 3> sums{};
    for (int y = 0; y < view.height; ++y) {
        const unsigned char* line = view.pixels + static_cast<std::size_t>(y) * view.pitch;
        const int row = static_cast<int>(static_cast<long long>(y) * kGrid / view.height);
        for (int column = 0; column < kGrid; ++column) {
            std::uint64_t r = 0, g = 0, b = 0;
            const unsigned char* p = line + 3 * static_cast<std::size_t>(blockStart(column, view.width));
            const unsigned char* end = line + 3 * static_cast<std::size_t>(blockStart(column + 1, view.width));
            for (; p < end; p += 3) {
                r += p[0];
                g += p[1];
                b += p[2];
            }
            std::uint64_t* sum = &sums[3 * static_cast<std::size_t>(row * kGrid + column)];
            sum[0] += r;
            sum[1] += g;
            sum[2] += b;
        }
    }
    for (int row = 0; row < kGrid; ++row)
        for (int column = 0; column < kGrid; ++column) {
            const double width = blockStart(column + 1, view.width) - blockStart(column, view.width);
            const double pixels = width * (blockStart(row + 1, view.height) - blockStart(row, view.height));
            for (int c = 0; c < 3; ++c) {
                const std::size_t i = 3 * (row * kGrid + column) + c;
                means_[i] = pixels > 0 ? static_cast<double>(sums[i]) / pixels : 0.0;
            }
        }
}

double BlockMeans::at(int block, int channel) const {
    const double* m = &means_[3 * static_cast<std::size_t>(block)];
    return channel < 3 ? m[channel] : luma(m[0], m[1], m[2]);
}

double BlockMeans::wholeMean(int channel) const {
    double sum = 0.0;
    for (int block = 0; block < kBlocks; ++block) sum += at(block, channel);
    return sum / kBlocks;
}

double BlockMeans::redBlueContrast() const {
    double largest = 0.0;
    for (int block = 0; block < kBlocks; ++block) largest = std::max(largest, std::fabs(at(block, 0) - at(block, 2)));
    return largest;
}

std::string BlockDifference::describe(const std::string& firstName, const std::string& secondName) const {
    const std::string grid = std::to_string(BlockMeans::kGrid);
    return "block " + std::to_string(block % BlockMeans::kGrid + 1) + "," +
           std::to_string(block / BlockMeans::kGrid + 1) + " of " + grid + "x" + grid + ": " + kChannelNames[channel] +
           " " + show(std::round(first)) + " in " + firstName + ", " + show(std::round(second)) + " in " + secondName;
}

BlockDifference largestDifference(const BlockMeans& first, const BlockMeans& second, bool perChannel) {
    BlockDifference largest;
    largest.amount = -1.0;
    for (int block = 0; block < BlockMeans::kBlocks; ++block)
        for (int channel = perChannel ? 0 : 3; channel < (perChannel ? 3 : 4); ++channel) {
            const double a = first.at(block, channel), b = second.at(block, channel);
            if (std::fabs(a - b) > largest.amount) largest = {std::fabs(a - b), block, channel, a, b};
        }
    return largest;
}

std::string channelMeansText(const BlockMeans& means) {
    return "R/G/B " + show(std::round(means.wholeMean(0))) + "/" + show(std::round(means.wholeMean(1))) + "/" +
           show(std::round(means.wholeMean(2)));
}

std::optional<std::string> firstColoredPixel(const RgbView& view, int tolerance) {
    for (int y = 0; y < view.height; ++y) {
        const unsigned char* p = view.pixels + static_cast<std::size_t>(y) * view.pitch;
        for (int x = 0; x < view.width; ++x, p += 3)
            if (std::abs(p[0] - p[1]) > tolerance || std::abs(p[1] - p[2]) > tolerance)
                return "pixel " + std::to_string(x) + "," + std::to_string(y) + " is R/G/B " + std::to_string(p[0]) +
                       "/" + std::to_string(p[1]) + "/" + std::to_string(p[2]);
    }
    return std::nullopt;
}

}  // namespace check
