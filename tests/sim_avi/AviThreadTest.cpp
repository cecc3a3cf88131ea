// Instances used from several threads at once.
#include "AviFixture.h"

#include "ueye.h"

#include <atomic>
#include <thread>

using namespace avitest;

TEST_F(AviTest, ThreadsRecordTheirOwnFiles) {
    const Bgr colors[] = {red, green, blue};
    std::vector<std::string> paths;
    std::vector<int> results(3, -1);
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) paths.push_back(dir.file("thread" + std::to_string(t) + ".avi"));
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            BgrImage image(128, 96, colors[t]);
            results[t] = recordFile(paths[t], image, 30, 25.0);
        });
    }
    for (auto& thread : threads) thread.join();

    for (int t = 0; t < 3; ++t) {
        SCOPED_TRACE(paths[t]);
        EXPECT_EQ(results[t], 0);
        EXPECT_EQ(probeVideo(paths[t]).frames, 30);
        const auto frame = decodeFrame(paths[t], 29, 128, 96);
        ASSERT_TRUE(frame);
        EXPECT_TRUE(near(frame->at(64, 48), colors[t])) << frame->at(64, 48);
    }
}

TEST_F(AviTest, ExitFromAnotherThreadFinishesTheFile) {
    INT id = 0;
    const auto path = dir.file("shared.avi");
    ASSERT_EQ(isavi_InitAVI(&id, 1), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_SetImageSize(id, IS_AVI_CM_RGB24, 64, 48, 0, 0, 0), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_OpenAVI(id, path.c_str()), IS_AVI_NO_ERR);
    ASSERT_EQ(isavi_StartAVI(id), IS_AVI_NO_ERR);

    std::atomic<int> written{0};
    std::atomic<bool> stopped{false};
    std::thread writer([&] {
        BgrImage image(64, 48, white);
        while (isavi_AddFrame(id, image.data()) == IS_AVI_NO_ERR) ++written;
        stopped = true;
    });
    while (written < 5 && !stopped) std::this_thread::yield();
    EXPECT_FALSE(stopped);
    EXPECT_EQ(isavi_ExitAVI(id), IS_AVI_NO_ERR);
    writer.join();

    const auto info = probeVideo(path);
    EXPECT_EQ(info.indexFrames, std::to_string(written.load()));
    EXPECT_EQ(info.frames, written.load());
}
