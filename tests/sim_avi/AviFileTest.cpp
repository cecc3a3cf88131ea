// The files themselves, read back by ffprobe and ffmpeg: stream fields,
// rates, frame counts, sizes and what the frames show.
#include "AviFixture.h"

#include "ueye.h"

#include <tuple>

using namespace avitest;

namespace {

using Spot = std::tuple<int, int, Bgr>;

// One file, written with the calls in their usual order.
struct FileRow {
    const char* name;
    int width, height;
    Bgr fill;
    int frames;
    double fps;         // 0: never set
    bool exitOnly;      // ExitAVI without Stop and Close
    const char* looks;  // VideoInfo::summary()
};

void PrintTo(const FileRow& row, std::ostream* out) { *out << row.name; }

class AviFiles : public AviTest, public ::testing::WithParamInterface<FileRow> {};

TEST_P(AviFiles, ReadBack) {
    const FileRow& row = GetParam();
    BgrImage image(row.width, row.height, row.fill);
    const auto path = dir.file("f.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, row.width, row.height, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(row.fps > 0 ? isavi_SetFrameRate(id, row.fps) : IS_AVI_NO_ERR, IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    for (int frame = 0; frame < row.frames; ++frame) ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    if (!row.exitOnly) {
        ASSERT_EQ(isavi_StopAVI(id), IS_AVI_NO_ERR);
        ASSERT_EQ(isavi_CloseAVI(id), IS_AVI_NO_ERR);
    }
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(probeVideo(path).summary(), row.looks);
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Avi, AviFiles, ::testing::Values(
    FileRow{"Plain", 320, 240, green, 12, 25.0, false, "mjpeg/MJPG 320x240 25/1 12/12"},
    FileRow{"NtscRateExact", 64, 48, red, 3, 30000.0 / 1001.0, false, "mjpeg/MJPG 64x48 30000/1001 3/3"},
    FileRow{"FractionalRateExact", 64, 48, red, 3, 12.5, false, "mjpeg/MJPG 64x48 25/2 3/3"},
    FileRow{"OddSizes", 33, 17, white, 2, 25.0, false, "mjpeg/MJPG 33x17 25/1 2/2"},
    FileRow{"NoRateSetReplaysAt25", 64, 48, blue, 1, 0, true, "mjpeg/MJPG 64x48 25/1 1/1"},
    FileRow{"ExitWithoutStopFinishesTheFile", 160, 120, red, 7, 25.0, true, "mjpeg/MJPG 160x120 25/1 7/7"}));
// clang-format on

TEST_F(AviTest, EveryFrameIsAKeyFrame) {
    BgrImage image(64, 48, green);
    const auto path = dir.file("keys.avi");
    ASSERT_EQ(recordFile(path, image, 5, 25.0), 0);
    const auto flags = lines(
        runCommand("ffprobe -v error -select_streams v:0 -show_entries packet=flags -of csv=p=0 " + quoted(path)));
    EXPECT_EQ(flags.size(), 5u);
    for (const std::string& flag : flags) EXPECT_EQ(flag.substr(0, 1), "K");
}

TEST_F(AviTest, ReportsAGrowingSizeThatMatchesTheFile) {
    BgrImage image(320, 240);
    for (int x = 0; x < 320; x += 8) image.fillRect(x, 0, 4, 240, white);
    const auto path = dir.file("size.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 320, 240, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    float previous = 0.0f;
    ASSERT_EQ(isavi_GetAVISize(id, &previous), IS_AVI_NO_ERR);
    for (int frame = 0; frame < 20; ++frame) {
        ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
        float kb = 0.0f;
        ASSERT_EQ(isavi_GetAVISize(id, &kb), IS_AVI_NO_ERR);
        EXPECT_GT(kb, previous) << "after frame " << frame;
        previous = kb;
    }
    float stopped = 0.0f, closed = 0.0f;
    ASSERT_EQ(isavi_StopAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_GetAVISize(id, &stopped), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_CloseAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_GetAVISize(id, &closed), IS_AVI_NO_ERR);
    const double fileKb = static_cast<double>(fileSize(path)) / 1024.0;
    EXPECT_NEAR(previous, fileKb, 4.0);
    EXPECT_NEAR(stopped, fileKb, 4.0);
    EXPECT_NEAR(closed, fileKb, 0.01);
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
}

TEST_F(AviTest, ResetFinishesFilesStillOpen) {
    BgrImage image(160, 120, blue);
    const auto path = dir.file("reset.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 160, 120, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    for (int frame = 0; frame < 4; ++frame) ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    ueye_sim::reset();
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
    EXPECT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_ERR_INVALID_ID);
    EXPECT_EQ(probeVideo(path).indexFrames, "4");
}

TEST_F(AviTest, RecordsASecondFileAfterClosingTheFirst) {
    BgrImage image(96, 64, green);
    const auto first = dir.file("first.avi"), second = dir.file("second.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 96, 64, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, first.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StopAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_CloseAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 48, 32, 0, 0, 48), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, second.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetFrameRate(id, 10.0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(probeVideo(first).summary(), "mjpeg/MJPG 96x64 25/1 1/1");
    EXPECT_EQ(probeVideo(second).summary(), "mjpeg/MJPG 48x32 10/1 3/3");
}

TEST_F(AviTest, HigherQualityGivesLargerFrames) {
    BgrImage image(256, 256);
    for (int y = 0; y < 256; y += 2)
        for (int x = 0; x < 256; x += 3)
            image.fillRect(x, y, 1, 1, Bgr{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)});
    const auto low = dir.file("low.avi"), high = dir.file("high.avi");
    ASSERT_EQ(recordFile(low, image, 2, 25.0, 10), 0);
    ASSERT_EQ(recordFile(high, image, 2, 25.0, 95), 0);
    EXPECT_LT(fileSize(low) * 2, fileSize(high));
}

// The frame of a `width` x `height` area at (x, y) of `buffer`, whose lines
// are `lineOffset` pixels longer than the area.
std::optional<BgrImage> recordArea(const std::string& path, BgrImage& buffer, int x, int y, int width, int height,
                                   int lineOffset, int quality) {
    INT id = 0;
    isavi_InitAVI(&id, 1);
    if (isavi_SetImageSize(id, IS_AVI_CM_RGB24, width, height, x, y, lineOffset) != IS_AVI_NO_ERR ||
        isavi_SetImageQuality(id, quality) != IS_AVI_NO_ERR || isavi_OpenAVI(id, path.c_str()) != IS_AVI_NO_ERR ||
        isavi_StartAVI(id) != IS_AVI_NO_ERR || isavi_AddFrame(id, buffer.data()) != IS_AVI_NO_ERR ||
        isavi_ExitAVI(id) != IS_AVI_NO_ERR)
        return std::nullopt;
    return decodeFrame(path, 0, width, height);
}

TEST_F(AviTest, RecordsTheRectangleAtItsPositionWithLineOffset) {
    // Lines of 64 + 96 pixels; the picture is the 64 x 48 rectangle at (40, 20), no magenta around it.
    // Buffer bytes are B, G, R: a red region must decode red, not blue.
    BgrImage buffer(160, 100, magenta);
    buffer.fillRect(40, 20, 32, 24, red);
    buffer.fillRect(72, 20, 32, 24, green);
    buffer.fillRect(40, 44, 32, 24, blue);
    buffer.fillRect(72, 44, 32, 24, white);
    const auto frame = recordArea(dir.file("rect.avi"), buffer, 40, 20, 64, 48, 96, 90);
    ASSERT_TRUE(frame);
    for (const auto& [x, y, color] : std::vector<Spot>{{12, 10, red}, {52, 10, green}, {12, 38, blue}, {52, 38, white}})
        EXPECT_TRUE(near(frame->at(x, y), color)) << x << "," << y << " " << frame->at(x, y);
    int magentaPixels = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) magentaPixels += near(frame->at(x, y), magenta, 60);
    EXPECT_EQ(magentaPixels, 0);
}

TEST_F(AviTest, FramesKeepTheirOrder) {
    const auto path = dir.file("order.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 64, 48, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    auto grey = [](int frame) {
        const auto level = std::uint8_t(20 + 40 * frame);
        return Bgr{level, level, level};
    };
    for (int frame = 0; frame < 5; ++frame) {
        BgrImage image(64, 48, grey(frame));
        ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    }
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    for (int frame = 0; frame < 5; ++frame) {
        const auto decoded = decodeFrame(path, frame, 64, 48);
        ASSERT_TRUE(decoded) << "frame " << frame;
        EXPECT_TRUE(near(decoded->at(32, 24), grey(frame), 8)) << "frame " << frame << " " << decoded->at(32, 24);
    }
}

}  // namespace
