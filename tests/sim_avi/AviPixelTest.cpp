// What the frames show: colours in the right byte order, the right rectangle
// of the buffer, and frames in the order they were given.
#include "AviFixture.h"

#include "ueye.h"

#include <utility>

using namespace avitest;

TEST_F(AviTest, ColourRegionsKeepTheirColours) {
    // Buffer bytes are B, G, R: a red region must decode red, not blue.
    BgrImage image(96, 64);
    image.fillRect(0, 0, 32, 48, red);
    image.fillRect(32, 0, 32, 48, green);
    image.fillRect(64, 0, 32, 48, blue);
    image.fillRect(0, 48, 96, 16, white);
    const auto path = dir.file("colours.avi");
    ASSERT_EQ(recordFile(path, image, 1, 25.0), 0);

    const auto frame = decodeFrame(path, 0, 96, 64);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(near(frame->at(16, 24), red)) << describe(frame->at(16, 24));
    EXPECT_TRUE(near(frame->at(48, 24), green)) << describe(frame->at(48, 24));
    EXPECT_TRUE(near(frame->at(80, 24), blue)) << describe(frame->at(80, 24));
    EXPECT_TRUE(near(frame->at(48, 56), white)) << describe(frame->at(48, 56));
}

TEST_F(AviTest, RecordsTheRectangleAtItsPositionWithLineOffset) {
    // Buffer lines are width + lineOffset = 160 pixels; the picture is the
    // 64 x 48 rectangle at (40, 20), and nothing of the magenta around it.
    constexpr int width = 64, height = 48, posX = 40, posY = 20, lineOffset = 96;
    BgrImage buffer(width + lineOffset, 100, magenta);
    buffer.fillRect(posX, posY, 32, 24, red);
    buffer.fillRect(posX + 32, posY, 32, 24, green);
    buffer.fillRect(posX, posY + 24, 32, 24, blue);
    buffer.fillRect(posX + 32, posY + 24, 32, 24, white);

    const auto path = dir.file("rect.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, width, height, posX, posY, lineOffset), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageQuality(id, 90), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_AddFrame(id, buffer.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);

    EXPECT_EQ(probe(path).at("width"), "64");
    const auto frame = decodeFrame(path, 0, width, height);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(near(frame->at(12, 10), red)) << describe(frame->at(12, 10));
    EXPECT_TRUE(near(frame->at(52, 10), green)) << describe(frame->at(52, 10));
    EXPECT_TRUE(near(frame->at(12, 38), blue)) << describe(frame->at(12, 38));
    EXPECT_TRUE(near(frame->at(52, 38), white)) << describe(frame->at(52, 38));
    int magentaPixels = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) magentaPixels += near(frame->at(x, y), magenta, 60) ? 1 : 0;
    EXPECT_EQ(magentaPixels, 0);
}

TEST_F(AviTest, TakesTheAreaAtTheTopLeftOfAFullWidthFrame) {
    // The camera's way: a 640 x 480 area from 1280-pixel lines.
    constexpr int fullWidth = 1280, width = 640, height = 480;
    BgrImage buffer(fullWidth, 1024, blue);
    buffer.fillRect(0, 0, width, height, red);

    const auto path = dir.file("area.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, width, height, 0, 0, fullWidth - width), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageQuality(id, 50), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_AddFrame(id, buffer.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);

    const auto frame = decodeFrame(path, 0, width, height);
    ASSERT_TRUE(frame);
    const std::pair<int, int> points[] = {{0, 0}, {639, 0}, {0, 479}, {639, 479}, {320, 240}};
    for (const auto& [x, y] : points)
        EXPECT_TRUE(near(frame->at(x, y), red)) << x << "," << y << " " << describe(frame->at(x, y));
}

TEST_F(AviTest, FramesKeepTheirOrder) {
    const auto path = dir.file("order.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 64, 48, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    for (int frame = 0; frame < 5; ++frame) {
        const auto level = static_cast<std::uint8_t>(20 + 40 * frame);
        BgrImage grey(64, 48, Bgr{level, level, level});
        ASSERT_EQ(isavi_AddFrame(id, grey.data()), IS_AVI_NO_ERR);
    }
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);

    for (int frame = 0; frame < 5; ++frame) {
        const auto level = static_cast<std::uint8_t>(20 + 40 * frame);
        const auto decoded = decodeFrame(path, frame, 64, 48);
        ASSERT_TRUE(decoded) << "frame " << frame;
        EXPECT_TRUE(near(decoded->at(32, 24), Bgr{level, level, level}, 8))
            << "frame " << frame << " " << describe(decoded->at(32, 24));
    }
}
