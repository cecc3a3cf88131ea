// Files that cannot be made or written, and failures injected by tests.
#include "AviFixture.h"

#include "ueye.h"

using namespace avitest;

namespace {

INT sizedInstance(int width, int height) {
    INT id = 0;
    EXPECT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, width, height, 0, 0, 0), IS_AVI_NO_ERR);
    return id;
}

}  // namespace

TEST_F(AviTest, OpenFailsInAFolderThatDoesNotExist) {
    const INT id = sizedInstance(16, 16);
    const auto path = dir.file("missing/folder/x.avi");
    EXPECT_NE(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_StartAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(fileSize(path), -1);
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
}

TEST_F(AviTest, OpenFailsWithAnEmptyPath) {
    const INT id = sizedInstance(16, 16);
    EXPECT_NE(isavi_OpenAVI(id, ""), IS_AVI_NO_ERR);
    EXPECT_NE(isavi_StartAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
}

TEST_F(AviTest, OpenFailsOnAFolder) {
    const INT id = sizedInstance(16, 16);
    EXPECT_NE(isavi_OpenAVI(id, dir.path().c_str()), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
}

TEST_F(AviTest, WriteErrorsFailWithoutACrash) {
    // /dev/full takes the open but refuses every byte.
    const INT id = sizedInstance(256, 256);
    BgrImage image(256, 256);
    for (int x = 0; x < 256; x += 2) image.fillRect(x, 0, 1, 256, white);
    ASSERT_EQ(isavi_OpenAVI(id, "/dev/full"), IS_AVI_NO_ERR);
    int status = isavi_StartAVI(id);
    for (int frame = 0; frame < 200 && status == IS_AVI_NO_ERR; ++frame)
        status = isavi_AddFrame(id, image.data());
    EXPECT_NE(status, IS_AVI_NO_ERR);
    EXPECT_NE(status, IS_AVI_ERR_WRITE_INFO);
    isavi_ExitAVI(id);
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
}

TEST_F(AviTest, InjectedFrameFailureSkipsThatFrameOnly) {
    BgrImage image(64, 48, green);
    const auto path = dir.file("injected.avi");
    const INT id = sizedInstance(64, 48);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    ueye_sim::failCall("isavi_AddFrame", IS_AVI_ERR_COMPRESS, 3);

    std::vector<int> results;
    for (int frame = 0; frame < 5; ++frame) results.push_back(isavi_AddFrame(id, image.data()));
    EXPECT_EQ(results, (std::vector<int>{0, 0, IS_AVI_ERR_COMPRESS, 0, 0}));
    ASSERT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);

    const auto info = probe(path);
    EXPECT_EQ(info.at("nb_frames"), "4");
    EXPECT_EQ(info.at("nb_read_packets"), "4");
}

TEST_F(AviTest, InjectedStatusReachesTheCaller) {
    ueye_sim::failCall("isavi_StartAVI", IS_AVI_ERR_CREATESTREAM);
    const INT id = sizedInstance(16, 16);
    ASSERT_EQ(isavi_OpenAVI(id, dir.file("start.avi").c_str()), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_StartAVI(id), IS_AVI_ERR_CREATESTREAM);
    ueye_sim::clearScripts();
    EXPECT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
}

TEST_F(AviTest, CallsAppearInTheCallLog) {
    BgrImage image(16, 16);
    const auto path = dir.file("log.avi");
    ueye_sim::clearCallLog();
    ASSERT_EQ(recordFile(path, image, 1, 25.0), 0);
    EXPECT_EQ(ueye_sim::callNames(),
              (std::vector<std::string>{"isavi_InitAVI", "isavi_SetImageSize", "isavi_SetImageQuality",
                                        "isavi_OpenAVI", "isavi_SetFrameRate", "isavi_StartAVI",
                                        "isavi_AddFrame", "isavi_StopAVI", "isavi_CloseAVI",
                                        "isavi_ExitAVI"}));
}
