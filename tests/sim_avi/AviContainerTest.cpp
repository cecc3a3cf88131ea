// The files themselves: stream fields, rates, frame counts and sizes.
#include "AviFixture.h"

#include "ueye.h"

#include <sstream>

using namespace avitest;

namespace {

// One instance with a file open and started, for tests that drive frames.
struct Started {
    INT id = 0;
    Started(const std::string& path, int width, int height, double fps) {
        EXPECT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
        EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, width, height, 0, 0, 0), IS_AVI_NO_ERR);
        EXPECT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
        EXPECT_EQ(isavi_SetFrameRate(id, fps), IS_AVI_NO_ERR);
        EXPECT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    }
};

}  // namespace

TEST_F(AviTest, WritesMotionJpegStreamWithSizeRateAndFrameCount) {
    BgrImage image(320, 240, green);
    const auto path = dir.file("plain.avi");
    ASSERT_EQ(recordFile(path, image, 12, 25.0), 0);

    const auto info = probe(path);
    EXPECT_EQ(info.at("codec_name"), "mjpeg");
    EXPECT_EQ(info.at("codec_tag_string"), "MJPG");
    EXPECT_EQ(info.at("width"), "320");
    EXPECT_EQ(info.at("height"), "240");
    EXPECT_EQ(info.at("r_frame_rate"), "25/1");
    EXPECT_EQ(info.at("nb_frames"), "12");
    EXPECT_EQ(info.at("nb_read_packets"), "12");
}

TEST_F(AviTest, KeepsNtscRateExact) {
    BgrImage image(64, 48, red);
    const auto path = dir.file("ntsc.avi");
    ASSERT_EQ(recordFile(path, image, 3, 30000.0 / 1001.0), 0);
    EXPECT_EQ(probe(path).at("r_frame_rate"), "30000/1001");
}

TEST_F(AviTest, KeepsFractionalRateExact) {
    BgrImage image(64, 48, red);
    const auto path = dir.file("slow.avi");
    ASSERT_EQ(recordFile(path, image, 3, 12.5), 0);
    EXPECT_EQ(probe(path).at("r_frame_rate"), "25/2");
}

TEST_F(AviTest, ReplaysAt25FramesPerSecondWhenNoRateIsSet) {
    BgrImage image(64, 48, blue);
    const auto path = dir.file("default.avi");
    INT id = 0;
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 64, 48, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(probe(path).at("r_frame_rate"), "25/1");
}

TEST_F(AviTest, KeepsOddFrameSizes) {
    BgrImage image(33, 17, white);
    const auto path = dir.file("odd.avi");
    ASSERT_EQ(recordFile(path, image, 2, 25.0), 0);
    const auto info = probe(path);
    EXPECT_EQ(info.at("width"), "33");
    EXPECT_EQ(info.at("height"), "17");
    EXPECT_EQ(info.at("nb_read_packets"), "2");
}

TEST_F(AviTest, MarksEveryFrameAsKeyFrame) {
    BgrImage image(64, 48, green);
    const auto path = dir.file("keys.avi");
    ASSERT_EQ(recordFile(path, image, 5, 25.0), 0);
    std::istringstream flags(run("ffprobe -v error -select_streams v:0 -show_entries packet=flags "
                                 "-of csv=p=0 '" + path + "'"));
    int packets = 0;
    for (std::string line; std::getline(flags, line);) {
        ++packets;
        EXPECT_EQ(line.substr(0, 1), "K") << "packet " << packets;
    }
    EXPECT_EQ(packets, 5);
}

TEST_F(AviTest, ReportsGrowingSizeThatMatchesTheFile) {
    BgrImage image(320, 240);
    for (int x = 0; x < 320; x += 8) image.fillRect(x, 0, 4, 240, white);
    const auto path = dir.file("size.avi");
    Started avi(path, 320, 240, 25.0);

    float previous = 0.0f;
    ASSERT_EQ(isavi_GetAVISize(avi.id, &previous), IS_AVI_NO_ERR);
    for (int frame = 0; frame < 20; ++frame) {
        ASSERT_EQ(isavi_AddFrame(avi.id, image.data()), IS_AVI_NO_ERR);
        float kb = 0.0f;
        ASSERT_EQ(isavi_GetAVISize(avi.id, &kb), IS_AVI_NO_ERR);
        EXPECT_GT(kb, previous) << "after frame " << frame;
        previous = kb;
    }
    ASSERT_EQ(isavi_StopAVI(avi.id), IS_AVI_NO_ERR);
    float finished = 0.0f;
    ASSERT_EQ(isavi_GetAVISize(avi.id, &finished), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_CloseAVI(avi.id), IS_AVI_NO_ERR);

    const double fileKb = static_cast<double>(fileSize(path)) / 1024.0;
    EXPECT_NEAR(previous, fileKb, 4.0);
    EXPECT_NEAR(finished, fileKb, 4.0);
    float closed = 0.0f;
    ASSERT_EQ(isavi_GetAVISize(avi.id, &closed), IS_AVI_NO_ERR);
    EXPECT_NEAR(closed, fileKb, 0.01);
    EXPECT_EQ(isavi_ExitAVI(avi.id), IS_AVI_NO_ERR);
}

TEST_F(AviTest, ExitWithoutStopLeavesACompleteFile) {
    BgrImage image(160, 120, red);
    const auto path = dir.file("unstopped.avi");
    Started avi(path, 160, 120, 25.0);
    for (int frame = 0; frame < 7; ++frame) ASSERT_EQ(isavi_AddFrame(avi.id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(avi.id), IS_AVI_NO_ERR);

    const auto info = probe(path);
    EXPECT_EQ(info.at("nb_frames"), "7");
    EXPECT_EQ(info.at("nb_read_packets"), "7");
}

TEST_F(AviTest, ResetFinishesFilesStillOpen) {
    BgrImage image(160, 120, blue);
    const auto path = dir.file("reset.avi");
    Started avi(path, 160, 120, 25.0);
    for (int frame = 0; frame < 4; ++frame) ASSERT_EQ(isavi_AddFrame(avi.id, image.data()), IS_AVI_NO_ERR);
    ueye_sim::reset();

    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
    EXPECT_EQ(isavi_AddFrame(avi.id, image.data()), IS_AVI_ERR_INVALID_ID);
    EXPECT_EQ(probe(path).at("nb_frames"), "4");
}

TEST_F(AviTest, RecordsASecondFileAfterClosingTheFirst) {
    BgrImage image(96, 64, green);
    const auto first = dir.file("first.avi");
    const auto second = dir.file("second.avi");
    Started avi(first, 96, 64, 25.0);
    ASSERT_EQ(isavi_AddFrame(avi.id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StopAVI(avi.id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_CloseAVI(avi.id), IS_AVI_NO_ERR);

    ASSERT_EQ(isavi_SetImageSize(avi.id, IS_AVI_CM_RGB24, 48, 32, 0, 0, 48), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(avi.id, second.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetFrameRate(avi.id, 10.0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(avi.id), IS_AVI_NO_ERR);
    for (int frame = 0; frame < 3; ++frame) ASSERT_EQ(isavi_AddFrame(avi.id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(avi.id), IS_AVI_NO_ERR);

    const auto one = probe(first);
    EXPECT_EQ(one.at("nb_frames"), "1");
    EXPECT_EQ(one.at("width"), "96");
    const auto two = probe(second);
    EXPECT_EQ(two.at("nb_frames"), "3");
    EXPECT_EQ(two.at("width"), "48");
    EXPECT_EQ(two.at("height"), "32");
    EXPECT_EQ(two.at("r_frame_rate"), "10/1");
}

TEST_F(AviTest, HigherQualityGivesLargerFrames) {
    BgrImage image(256, 256);
    for (int y = 0; y < 256; y += 2)
        for (int x = 0; x < 256; x += 3)
            image.fillRect(x, y, 1, 1, Bgr{std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y)});
    const auto low = dir.file("low.avi");
    const auto high = dir.file("high.avi");
    ASSERT_EQ(recordFile(low, image, 2, 25.0, 10), 0);
    ASSERT_EQ(recordFile(high, image, 2, 25.0, 95), 0);
    EXPECT_LT(fileSize(low) * 2, fileSize(high));
}
