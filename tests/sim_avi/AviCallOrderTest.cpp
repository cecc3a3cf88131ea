// Calls out of order or with bad arguments fail with a status, never a crash,
// and leave the instance usable.
#include "AviFixture.h"

#include "ueye.h"

#include <cmath>
#include <limits>

using namespace avitest;

namespace {

INT newInstance() {
    INT id = 0;
    EXPECT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    return id;
}

}  // namespace

TEST_F(AviTest, InitGivesPositiveIncreasingIds) {
    const INT first = newInstance();
    const INT second = newInstance();
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_EQ(ueye_sim::openAviInstances(), 2);
    EXPECT_EQ(isavi_ExitAVI(first), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_ExitAVI(second), IS_AVI_NO_ERR);
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
    EXPECT_GT(newInstance(), second);
}

TEST_F(AviTest, InitRefusesANullIdPointer) {
    EXPECT_NE(isavi_InitAVI(nullptr, 1), IS_AVI_NO_ERR);
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
}

TEST_F(AviTest, ExitWithoutOpenSucceedsOnceOnly) {
    const INT id = newInstance();
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_ERR_INVALID_ID);
}

TEST_F(AviTest, UnknownIdsFailEverywhere) {
    BgrImage image(16, 16);
    float kb = 0.0f;
    const std::string path = dir.file("never.avi");
    for (INT id : {0, -1, 12345}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, 16, 0, 0, 0), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_SetImageQuality(id, 50), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_SetFrameRate(id, 25.0), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_StartAVI(id), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_GetAVISize(id, &kb), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_StopAVI(id), IS_AVI_ERR_INVALID_ID);
        EXPECT_EQ(isavi_CloseAVI(id), IS_AVI_ERR_INVALID_ID);
    }
    EXPECT_EQ(fileSize(path), -1);
}

TEST_F(AviTest, RefusesBadImageSizes) {
    const INT id = newInstance();
    EXPECT_EQ(isavi_SetImageSize(id, 0, 16, 16, 0, 0, 0), IS_AVI_ERR_INVALID_CM);
    EXPECT_EQ(isavi_SetImageSize(id, 2, 16, 16, 0, 0, 0), IS_AVI_ERR_INVALID_CM);
    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 0, 16, 0, 0, 0), IS_AVI_ERR_INVALID_SIZE);
    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, -4, 0, 0, 0), IS_AVI_ERR_INVALID_SIZE);
    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, 16, 0, 0, -1), IS_AVI_ERR_INVALID_SIZE);
    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, 16, -1, 0, 8), IS_AVI_ERR_INVALID_POSITION);
    // The picture would run past the end of its buffer line.
    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, 16, 9, 0, 8), IS_AVI_ERR_INVALID_POSITION);
    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, 16, 8, 3, 8), IS_AVI_NO_ERR);
}

TEST_F(AviTest, RefusesBadQualitiesAndRates) {
    const INT id = newInstance();
    EXPECT_EQ(isavi_SetImageQuality(id, 0), IS_AVI_ERR_INVALID_VALUE);
    EXPECT_EQ(isavi_SetImageQuality(id, 101), IS_AVI_ERR_INVALID_VALUE);
    EXPECT_EQ(isavi_SetImageQuality(id, 1), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_SetImageQuality(id, 100), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_SetFrameRate(id, 0.0), IS_AVI_ERR_INVALID_VALUE);
    EXPECT_EQ(isavi_SetFrameRate(id, -25.0), IS_AVI_ERR_INVALID_VALUE);
    EXPECT_EQ(isavi_SetFrameRate(id, std::nan("")), IS_AVI_ERR_INVALID_VALUE);
    EXPECT_EQ(isavi_SetFrameRate(id, std::numeric_limits<double>::infinity()), IS_AVI_ERR_INVALID_VALUE);
    EXPECT_EQ(isavi_SetFrameRate(id, 0.5), IS_AVI_NO_ERR);
}

TEST_F(AviTest, RefusesNullArguments) {
    const INT id = newInstance();
    EXPECT_NE(isavi_OpenAVI(id, nullptr), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_GetAVISize(id, nullptr), IS_AVI_NO_ERR);
    const auto path = dir.file("null.avi");
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, 16, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_AddFrame(id, nullptr), IS_AVI_NO_ERR);
    BgrImage image(16, 16, red);
    ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(probe(path).at("nb_read_packets"), "1");
}

TEST_F(AviTest, CallsBeforeTheirTurnFail) {
    const INT id = newInstance();
    BgrImage image(32, 32, green);
    float kb = -1.0f;
    EXPECT_NE(isavi_GetAVISize(id, &kb), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_StartAVI(id), IS_AVI_NO_ERR);  // no file
    EXPECT_NE(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_StopAVI(id), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_CloseAVI(id), IS_AVI_NO_ERR);

    const auto path = dir.file("order.avi");
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_StartAVI(id), IS_AVI_NO_ERR);  // no image size
    EXPECT_NE(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_StopAVI(id), IS_AVI_NO_ERR);

    // Still usable once the missing step is done.
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 32, 32, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StopAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_CloseAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(probe(path).at("nb_frames"), "1");
}

TEST_F(AviTest, CallsThatARunningRecordingForbidsFail) {
    const INT id = newInstance();
    BgrImage image(32, 32, red);
    const auto path = dir.file("running.avi");
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 32, 32, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);

    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 16, 16, 0, 0, 0), IS_AVI_ERR_CAPTURE_RUNNING);
    EXPECT_EQ(isavi_SetFrameRate(id, 10.0), IS_AVI_ERR_CAPTURE_RUNNING);
    EXPECT_EQ(isavi_StartAVI(id), IS_AVI_ERR_CAPTURE_RUNNING);
    EXPECT_NE(isavi_OpenAVI(id, dir.file("other.avi").c_str()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_CloseAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(fileSize(dir.file("other.avi")), -1);

    ASSERT_EQ(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StopAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_StopAVI(id), IS_AVI_NO_ERR);  // repeatable, so a failed close can be retried
    EXPECT_NE(isavi_AddFrame(id, image.data()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_StartAVI(id), IS_AVI_NO_ERR);  // the file is finished
    ASSERT_EQ(isavi_CloseAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_CloseAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_StopAVI(id), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);

    const auto info = probe(path);
    EXPECT_EQ(info.at("width"), "32");
    EXPECT_EQ(info.at("nb_frames"), "2");
    EXPECT_EQ(info.at("nb_read_packets"), "2");
}

TEST_F(AviTest, SecondOpenFailsAndKeepsTheFirstFile) {
    const INT id = newInstance();
    const auto path = dir.file("first.avi");
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_OpenAVI(id, dir.file("second.avi").c_str()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    EXPECT_EQ(fileSize(dir.file("second.avi")), -1);
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
}
