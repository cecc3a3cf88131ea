// The display's picture helpers: fitting, sampling, checksum and change rate.
#include "ChangeRate.h"
#include "FrameMeter.h"
#include "PictureSampler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace viewer {
namespace {

std::vector<std::uint8_t> gradient(Extent size, int pitchPixels, int seed) {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(pitchPixels) * size.height * 3);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < pitchPixels; ++x)
            for (int c = 0; c < 3; ++c)
                pixels[(static_cast<std::size_t>(y) * pitchPixels + x) * 3 + c] =
                    static_cast<std::uint8_t>(x + 2 * y + 40 * c + seed);
    return pixels;
}

TEST(FitInside, KeepsTheAspectRatioAndIsEmptyForAnEmptyBoxOrPicture) {
    struct Row {
        Extent picture, box, fitted;
    };
    for (const Row& row : {Row{{1280, 1024}, {1000, 500}, {625, 500}}, Row{{4912, 3684}, {800, 900}, {800, 600}},
                           Row{{0, 10}, {100, 100}, {0, 0}}, Row{{10, 10}, {0, 100}, {0, 0}}}) {
        const Extent fitted = fitInside(row.picture, row.box);
        EXPECT_EQ(fitted.width, row.fitted.width) << row.picture.width << "x" << row.picture.height;
        EXPECT_EQ(row.fitted.width > 0 ? fitted.height : 0, row.fitted.height);
    }
}

TEST(SampleInto, SameSizeCopiesTheAreaOutOfAWiderBuffer) {
    const Extent area{4, 3};
    const int pitchPixels = 7;  // the area sits at the top-left of a wider sensor line
    const auto source = gradient(area, pitchPixels, 0);
    std::vector<std::uint8_t> target(static_cast<std::size_t>(area.width) * area.height * 3);
    sampleInto(source.data(), pitchPixels * 3, area, target.data(), area);
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width * 3; ++x)
            EXPECT_EQ(target[static_cast<std::size_t>(y) * area.width * 3 + x],
                      source[static_cast<std::size_t>(y) * pitchPixels * 3 + x]);
}

TEST(SampleInto, HalfSizeTakesEveryOtherPixel) {
    const Extent area{8, 6};
    const auto source = gradient(area, 8, 0);
    const Extent half{4, 3};
    std::vector<std::uint8_t> target(static_cast<std::size_t>(half.width) * half.height * 3);
    sampleInto(source.data(), 8 * 3, area, target.data(), half);
    // Target (1, 2) samples the centre of its footprint: source (3, 5).
    EXPECT_EQ(target[(2 * 4 + 1) * 3], source[(5 * 8 + 3) * 3]);
    EXPECT_EQ(target[(2 * 4 + 1) * 3 + 2], source[(5 * 8 + 3) * 3 + 2]);
}

TEST(SampleInto, GreyIsSpreadOverTheThreeChannels) {
    const Extent area{4, 2};
    const std::vector<std::uint8_t> grey{0, 10, 20, 30, 99, 40, 50, 60, 70, 99};  // pitch 5: one byte of padding
    std::vector<std::uint8_t> target(4 * 2 * 3);
    sampleInto(grey.data(), 5, area, target.data(), area, 1);
    for (int i = 0; i < 8; ++i) {
        const std::uint8_t wanted = grey[static_cast<std::size_t>(i / 4 * 5 + i % 4)];
        EXPECT_EQ(target[i * 3], wanted);
        EXPECT_EQ(target[i * 3 + 1], wanted);
        EXPECT_EQ(target[i * 3 + 2], wanted);
    }
}

TEST(FrameMeter, CountsTheCamerasFramesOverTheLastSecondIncludingTheOnesNotTaken) {
    FrameMeter meter;
    EXPECT_EQ(meter.rate(), 0.0);
    // 50 fps, of which only every other frame reaches the viewer.
    for (std::uint64_t n = 1; n <= 200; n += 2) meter.add(n, n * 20'000'000);
    EXPECT_NEAR(meter.rate(), 50.0, 1e-9);
    // A stream started again numbers from 1: the old figures go.
    meter.add(1, 5'000'000);
    meter.add(2, 15'000'000);
    EXPECT_NEAR(meter.rate(), 100.0, 1e-9);
}

TEST(ChangeRate, CountsChangesPerSecond) {
    ChangeRate rate, still;
    EXPECT_EQ(rate.perSecond(), 0.0);
    rate.record(0.0, false);  // starts the window
    for (int i = 1; i <= 30; ++i) rate.record(i / 30.0, i % 2 == 0);
    EXPECT_NEAR(rate.perSecond(), 15.0, 1e-9);
    for (int i = 0; i <= 40; ++i) still.record(i / 20.0, false);
    EXPECT_EQ(still.perSecond(), 0.0);
}

}  // namespace
}  // namespace viewer
