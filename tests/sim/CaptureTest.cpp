// Live capture: frames are drawn, counted and numbered; capture starts and stops.
#include "SimTestSupport.h"

using namespace simtest;

TEST_F(SimTest, CaptureCountsFramesUntilStopped) {
    const Camera camera = openCapturing();
    EXPECT_TRUE(ueye_sim::state().capturing);
    ASSERT_TRUE(ueye_sim::waitFrames(3, 10000));
    stopCapture(camera);
    const auto frames = ueye_sim::state().framesCaptured;
    EXPECT_GE(frames, 4u);
    EXPECT_FALSE(ueye_sim::state().capturing);
    EXPECT_FALSE(ueye_sim::waitFrames(1, 200)) << "no frame after the capture thread was joined";
    EXPECT_EQ(ueye_sim::state().framesCaptured, frames);
}

TEST_F(SimTest, TheFrameCounterInTheCornerNumbersEachFrame) {
    const Camera camera = openCapturing();
    ASSERT_TRUE(ueye_sim::waitFrames(2, 10000));
    stopCapture(camera);
    const auto first = frameCounter(camera);
    EXPECT_EQ(first, ueye_sim::state().framesCaptured - 1) << "the last frame drawn";

    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(3, 10000));
    stopCapture(camera);
    const auto second = frameCounter(camera);
    EXPECT_EQ(second, ueye_sim::state().framesCaptured - 1);
    EXPECT_GE(second, first + 3);
}

TEST_F(SimTest, TheCapturedPictureIsTheTestPattern) {
    const Camera camera = openCapturing();
    ASSERT_TRUE(ueye_sim::waitFrames(1, 10000));
    stopCapture(camera);
    const auto* model = ueye_sim::findModel("SIM1280-C");
    const auto frame = frameCounter(camera);
    for (int y = 0; y < camera.height; y += 37) {
        for (int x = 0; x < camera.width; x += 29) {
            ASSERT_EQ(pixelAt(camera, x, y), toPixel(ueye_sim::patternAt(*model, x, y, frame)))
                << "at " << x << ", " << y;
        }
    }
}

TEST_F(SimTest, TheUpperHalfMovesAndTheLowerHalfStands) {
    const auto* model = ueye_sim::findModel("SIM1280-C");
    EXPECT_FALSE(toPixel(ueye_sim::patternAt(*model, 300, 100, 0)) ==
                 toPixel(ueye_sim::patternAt(*model, 300, 100, 5)));
    EXPECT_EQ(toPixel(ueye_sim::patternAt(*model, 300, 900, 0)), toPixel(ueye_sim::patternAt(*model, 300, 900, 5)));
}

TEST_F(SimTest, TheLowerHalfShowsTheEightSaturatedBars) {
    const auto* model = ueye_sim::findModel("SIM2592-C");
    const Pixel expected[8] = {{255, 0, 0},     {0, 255, 0},   {0, 0, 255},   {255, 255, 255},
                               {255, 255, 0},   {0, 255, 255}, {255, 0, 255}, {0, 0, 0}};
    for (int bar = 0; bar < 8; ++bar) {
        const int x = bar * model->maxWidth / 8 + model->maxWidth / 16;
        EXPECT_EQ(toPixel(ueye_sim::patternAt(*model, x, model->maxHeight - 1, 7)), expected[bar]) << "bar " << bar;
    }
}

TEST_F(SimTest, AMonochromeCameraWritesTheLumaOfThePattern) {
    ASSERT_TRUE(ueye_sim::connectCamera("SIM1280-M"));
    const Camera camera = openCapturing();
    EXPECT_EQ(camera.bits, 8);
    ASSERT_TRUE(ueye_sim::waitFrames(1, 10000));
    stopCapture(camera);
    const auto* model = ueye_sim::findModel("SIM1280-M");
    const auto frame = frameCounter(camera);
    for (int y = 20; y < camera.height; y += 41) {
        for (int x = 0; x < camera.width; x += 31) {
            ASSERT_EQ(pixelAt(camera, x, y), toPixel(ueye_sim::patternAt(*model, x, y, frame)))
                << "at " << x << ", " << y;
        }
    }
    // The red bar is a dark grey, the white bar white.
    EXPECT_EQ(pixelAt(camera, 10, 1000).r, 77);
    EXPECT_EQ(pixelAt(camera, 3 * 160 + 10, 1000).r, 255);
}

TEST_F(SimTest, CaptureVideoWithoutWaitingReturnsAtOnceAndFramesFollow) {
    const Camera camera = openWithMemory();
    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_DONT_WAIT), IS_SUCCESS);
    EXPECT_TRUE(ueye_sim::waitFrames(2, 10000));
}

TEST_F(SimTest, CaptureVideoWhileCapturingKeepsTheOneThread) {
    const Camera camera = openCapturing();
    EXPECT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    stopCapture(camera);
    EXPECT_FALSE(ueye_sim::state().capturing);
    EXPECT_EQ(is_StopLiveVideo(camera.handle, IS_WAIT), IS_SUCCESS) << "stopping twice is harmless";
}

TEST_F(SimTest, ANewFrameRateTakesEffectWhileCapturing) {
    const Camera camera = openCapturing();
    double applied = 0;
    // At 0.5 fps the next frame would be two seconds away; the change wakes the thread.
    ASSERT_EQ(is_SetFrameRate(camera.handle, 0.5, &applied), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(applied, 0.5);
    ASSERT_EQ(is_SetFrameRate(camera.handle, 50.0, &applied), IS_SUCCESS);
    EXPECT_TRUE(ueye_sim::waitFrames(10, 10000));
}

TEST_F(SimTest, TheLargestSensorCapturesFullFrames) {
    ASSERT_TRUE(ueye_sim::connectCamera("SIM4912-M"));
    const Camera camera = openCapturing();
    ASSERT_TRUE(ueye_sim::waitFrames(2, 20000));
    stopCapture(camera);
    const auto* model = ueye_sim::findModel("SIM4912-M");
    const auto frame = frameCounter(camera);
    EXPECT_EQ(pixelAt(camera, 4911, 3683), toPixel(ueye_sim::patternAt(*model, 4911, 3683, frame)));
    EXPECT_EQ(pixelAt(camera, 4000, 100), toPixel(ueye_sim::patternAt(*model, 4000, 100, frame)));
}
