#include "core/PixelOps.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace {

std::vector<unsigned char> randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes(n);
    for (auto& b : bytes) b = static_cast<unsigned char>(random());
    return bytes;
}

// Sizes around the vector widths, and a large odd one.
const std::size_t kPixelCounts[] = {0, 1, 2, 5, 15, 16, 17, 31, 32, 33, 47, 48, 49, 1000, 12345, 1280 * 3 + 7};

TEST(PixelOps, ExpandGreyMatchesThePlainLoop) {
    for (std::size_t pixels : kPixelCounts) {
        SCOPED_TRACE(pixels);
        const auto grey = randomBytes(pixels, 1);
        std::vector<unsigned char> rgb(pixels * 3 + 16, 0xEE);
        Nimbrel_model::expandGreyToRgb(rgb.data(), grey.data(), pixels);
        for (std::size_t i = 0; i < pixels; ++i) {
            ASSERT_EQ(rgb[3 * i], grey[i]);
            ASSERT_EQ(rgb[3 * i + 1], grey[i]);
            ASSERT_EQ(rgb[3 * i + 2], grey[i]);
        }
        for (std::size_t i = pixels * 3; i < rgb.size(); ++i) ASSERT_EQ(rgb[i], 0xEE) << "wrote past the end";
    }
}

TEST(PixelOps, SwapExchangesFirstAndThirdByte) {
    for (std::size_t pixels : kPixelCounts) {
        SCOPED_TRACE(pixels);
        const auto in = randomBytes(pixels * 3, 2);
        std::vector<unsigned char> out(pixels * 3 + 16, 0xEE);
        Nimbrel_model::copySwapRedBlue(out.data(), in.data(), pixels);
        for (std::size_t i = 0; i < pixels; ++i) {
            ASSERT_EQ(out[3 * i], in[3 * i + 2]) << "pixel " << i;
            ASSERT_EQ(out[3 * i + 1], in[3 * i + 1]) << "pixel " << i;
            ASSERT_EQ(out[3 * i + 2], in[3 * i]) << "pixel " << i;
        }
        for (std::size_t i = pixels * 3; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << "wrote past the end";
    }
}

TEST(PixelOps, LargeFramesAreUsable) {
    const std::size_t bytes = 4912u * 3684u * 3u;
    std::unique_ptr<unsigned char[]> frame(Nimbrel_model::allocateFrame(bytes));
    frame[0] = 1;
    frame[bytes - 1] = 2;
    EXPECT_EQ(frame[0] + frame[bytes - 1], 3);
}

}  // namespace
