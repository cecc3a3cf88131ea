// Live capture: frames are drawn, counted and numbered; capture starts and stops.
#include "SimTestSupport.h"

using namespace simtest;

TEST_F(SimTest, CaptureCountsAndNumbersFramesUntilStopped) {
    const Camera camera = openCapturing();
    EXPECT_TRUE(ueye_sim::state().capturing);
    EXPECT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS) << "while capturing: the one thread goes on";
    ASSERT_TRUE(ueye_sim::waitFrames(3, 10000));
    stopCapture(camera);
    const auto frames = ueye_sim::state().framesCaptured;
    EXPECT_GE(frames, 4u);
    EXPECT_FALSE(ueye_sim::state().capturing);
    EXPECT_FALSE(ueye_sim::waitFrames(1, 200)) << "no frame after the capture thread was joined";
    EXPECT_EQ(ueye_sim::state().framesCaptured, frames);
    EXPECT_EQ(frameCounter(camera), frames - 1) << "the last frame drawn";
    EXPECT_EQ(is_StopLiveVideo(camera.handle, IS_WAIT), IS_SUCCESS) << "stopping twice is harmless";
    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_DONT_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(3, 10000));
    stopCapture(camera);
    EXPECT_EQ(frameCounter(camera), ueye_sim::state().framesCaptured - 1);
    EXPECT_GE(frameCounter(camera), frames + 2);
}

TEST_F(SimTest, EachModelCapturesTheTestPatternAtFullSize) {
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        ASSERT_TRUE(ueye_sim::connectCamera(model.name));
        const Camera camera = openCapturing();
        EXPECT_EQ(camera.bits, model.color ? 24 : 8);
        stopCapture(camera);
        const auto frame = frameCounter(camera);
        for (int y = camera.height - 1; y >= 0; y -= camera.height / 23)
            for (int x = camera.width - 1; x >= 0; x -= camera.width / 29)
                ASSERT_EQ(pixelAt(camera, x, y), toPixel(ueye_sim::patternAt(model, x, y, frame))) << x << ", " << y;
        ASSERT_EQ(is_ExitCamera(camera.handle), IS_SUCCESS);
    }
}

TEST_F(SimTest, ThePatternMovesAboveAndShowsEightBarsBelow) {
    const auto& model = *ueye_sim::findModel("SIM2592-C");
    EXPECT_FALSE(toPixel(ueye_sim::patternAt(model, 300, 100, 0)) == toPixel(ueye_sim::patternAt(model, 300, 100, 5)));
    EXPECT_EQ(toPixel(ueye_sim::patternAt(model, 300, 1900, 0)), toPixel(ueye_sim::patternAt(model, 300, 1900, 5)));
    const Pixel expected[8] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},   {255, 255, 255},
                               {255, 255, 0}, {0, 255, 255}, {255, 0, 255}, {0, 0, 0}};
    for (int bar = 0; bar < 8; ++bar) {
        const int x = bar * model.maxWidth / 8 + model.maxWidth / 16;
        EXPECT_EQ(toPixel(ueye_sim::patternAt(model, x, model.maxHeight - 1, 7)), expected[bar]) << "bar " << bar;
    }
    // A monochrome camera draws the luma: the red bar a dark grey, the white bar white.
    const auto& mono = *ueye_sim::findModel("SIM1280-M");
    EXPECT_EQ(toPixel(ueye_sim::patternAt(mono, 10, 1000, 0)), (Pixel{77, 77, 77}));
    EXPECT_EQ(toPixel(ueye_sim::patternAt(mono, 3 * 160 + 10, 1000, 0)), (Pixel{255, 255, 255}));
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
