// What a picture and a recorded frame of it have in common whatever the
// scene and whatever JPEG did: the mean of each colour channel over a coarse
// grid of blocks.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace check {

// RGB pixels, 3 bytes each, lines `pitch` bytes apart.
struct RgbView {
    const unsigned char* pixels;
    int width;
    int height;
    std::size_t pitch;
};

class BlockMeans {
public:
    static constexpr int kGrid = 16;  // blocks across and down
    static constexpr int kBlocks = kGrid * kGrid;

    explicit BlockMeans(const RgbView& view);

    // channel 0 red, 1 green, 2 blue, 3 grey (the luma of the three)
    double at(int block, int channel) const;
    double wholeMean(int channel) const;
    // The largest difference between red and blue in a block: how well the
    // scene tells the two apart.
    double redBlueContrast() const;
    bool operator==(const BlockMeans& other) const { return means_ == other.means_; }

private:
    std::array<double, static_cast<std::size_t>(kBlocks) * 3> means_{};
};

// Where two pictures' block means differ most.
struct BlockDifference {
    double amount = 0.0;
    int block = 0;
    int channel = 0;
    double first = 0.0;
    double second = 0.0;

    // "block 3,5 blue 182 in <firstName>, 31 in <secondName>"
    std::string describe(const std::string& firstName, const std::string& secondName) const;
};

// Over the grey channel only, or over red, green and blue.
BlockDifference largestDifference(const BlockMeans& first, const BlockMeans& second, bool perChannel);

// "R/G/B 120/98/101": the whole picture's channel means.
std::string channelMeansText(const BlockMeans& means);

// The first pixel (x, y) whose red, green and blue differ by more than
// `tolerance`, with its bytes in `text`.
std::optional<std::string> firstColoredPixel(const RgbView& view, int tolerance);

}  // namespace check
