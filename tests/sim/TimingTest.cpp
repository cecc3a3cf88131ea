// The timing model: pixel clock and area bound the frame rate, the frame rate
// bounds the exposure; the optimal-timing and frame-time range queries.
#include "SimTestSupport.h"

#include <thread>

using namespace simtest;

namespace {

double readFrameRate(HIDS handle) {
    double fps = 0;
    EXPECT_EQ(is_SetFrameRate(handle, IS_GET_FRAMERATE, &fps), IS_SUCCESS);
    return fps;
}

double readExposure(HIDS handle) {
    double ms = 0;
    EXPECT_EQ(is_SetExposureTime(handle, IS_GET_EXPOSURE_TIME, &ms), IS_SUCCESS);
    return ms;
}

double shortestFrameTime(HIDS handle) {
    double shortest = 0, longest = 0, step = 0;
    EXPECT_EQ(is_GetFrameTimeRange(handle, &shortest, &longest, &step), IS_SUCCESS);
    return shortest;
}

}  // namespace

TEST_F(SimTest, TheFrameRateStartsAt25AndIsHeldBetweenHalfAFrameASecondAndTheHighest) {
    const HIDS handle = openCamera();
    EXPECT_DOUBLE_EQ(readFrameRate(handle), 25.0);
    double fps = 0;
    ASSERT_EQ(is_SetFrameRate(handle, IS_GET_DEFAULT_FRAMERATE, &fps), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(fps, 25.0);
    EXPECT_EQ(ueye_sim::state().pixelClock, ueye_sim::findModel("SIM1280-C")->defaultPixelClock);
    EXPECT_GT(1.0 / shortestFrameTime(handle), 60.0);
    for (const auto& [asked, applied] : {std::pair{60.0, 60.0}, std::pair{1000.0, 1.0 / shortestFrameTime(handle)},
                                         std::pair{0.0, 0.5}, std::pair{12.5, 12.5}}) {
        ASSERT_EQ(is_SetFrameRate(handle, asked, &fps), IS_SUCCESS);
        EXPECT_NEAR(fps, applied, 1e-9) << asked;
        EXPECT_DOUBLE_EQ(readFrameRate(handle), fps);
    }
    EXPECT_EQ(is_SetFrameRate(handle, 10.0, nullptr), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, ExposureIsClampedToTheFrameTime) {
    const HIDS handle = openCamera();
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 10.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetExposureTime(handle, 500.0, &applied), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(applied, 100.0);
    EXPECT_DOUBLE_EQ(readExposure(handle), 100.0);
    ASSERT_EQ(is_SetExposureTime(handle, 20.0, &applied), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(applied, 20.0);
    ASSERT_EQ(is_SetExposureTime(handle, -3.0, &applied), IS_SUCCESS);
    EXPECT_GT(applied, 0.0);
    EXPECT_LT(applied, 1.0);
}

TEST_F(SimTest, RaisingTheFrameRateShortensALongExposure) {
    const HIDS handle = openCamera();
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 5.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetExposureTime(handle, 150.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetFrameRate(handle, 50.0, &applied), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(readExposure(handle), 20.0);
    ASSERT_EQ(is_SetFrameRate(handle, 5.0, &applied), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(readExposure(handle), 20.0) << "lowering the rate leaves the exposure";
}

TEST_F(SimTest, ALowerPixelClockLowersTheFrameRate) {
    const HIDS handle = openCamera();
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 60.0, &applied), IS_SUCCESS);
    const double fastAtDefault = 1.0 / shortestFrameTime(handle);
    ASSERT_EQ(is_SetPixelClock(handle, 20), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().pixelClock, 20);
    const double fastAt20 = 1.0 / shortestFrameTime(handle);
    EXPECT_LT(fastAt20, fastAtDefault);
    EXPECT_LT(fastAt20, 60.0);
    EXPECT_NEAR(readFrameRate(handle), fastAt20, 1e-9);
    EXPECT_LE(readExposure(handle), 1000.0 / fastAt20);
    const auto* model = ueye_sim::findModel("SIM1280-C");
    ASSERT_EQ(is_SetPixelClock(handle, 1000), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().pixelClock, model->maxPixelClock);
    ASSERT_EQ(is_SetPixelClock(handle, 1), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().pixelClock, model->minPixelClock);
}

TEST_F(SimTest, TheFrameTimeFollowsClockAndArea) {
    const HIDS handle = openCamera();
    const double full = shortestFrameTime(handle);
    ASSERT_EQ(is_SetImageSize(handle, 640, 480), IS_SUCCESS);
    ASSERT_EQ(is_SetPixelClock(handle, 40), IS_SUCCESS);
    const double smaller = shortestFrameTime(handle);
    EXPECT_LT(smaller, full / 2);
    ASSERT_EQ(is_SetPixelClock(handle, 20), IS_SUCCESS);
    EXPECT_NEAR(shortestFrameTime(handle), smaller * 2, 1e-12);
}

TEST_F(SimTest, AGrowingAreaLowersTheFrameRateWhenNeeded) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetImageSize(handle, 320, 240), IS_SUCCESS);
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 150.0, &applied), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(applied, 150.0);
    ASSERT_EQ(is_SetImageSize(handle, 1280, 1024), IS_SUCCESS);
    EXPECT_NEAR(readFrameRate(handle), 1.0 / shortestFrameTime(handle), 1e-9);
    EXPECT_LT(readFrameRate(handle), 150.0);
}

TEST_F(SimTest, TheFrameTimeRangeGoesFromTheShortestToTwoSeconds) {
    const HIDS handle = openCamera();
    double shortest = 0, longest = 0, step = 0;
    ASSERT_EQ(is_GetFrameTimeRange(handle, &shortest, &longest, &step), IS_SUCCESS);
    EXPECT_GT(shortest, 0.0);
    EXPECT_LT(shortest, 1.0 / 60);
    EXPECT_DOUBLE_EQ(longest, 2.0);
    EXPECT_GT(step, 0.0);
    EXPECT_LT(step, shortest);
    EXPECT_EQ(is_GetFrameTimeRange(handle, nullptr, &longest, &step), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, OptimalTimingFindsTheHighestClockAndChangesNothing) {
    ASSERT_TRUE(ueye_sim::connectCamera("SIM2592-C"));
    const HIDS handle = openCamera();
    const auto* model = ueye_sim::findModel("SIM2592-C");
    const double before = readFrameRate(handle);
    int clock = 0;
    double fps = 0;
    ASSERT_EQ(is_GetOptimalTiming(handle, 0, 5000, &clock, &fps), IS_SUCCESS);
    EXPECT_EQ(clock, model->maxPixelClock);
    EXPECT_GT(fps, before * 2) << "the optimum clearly beats the default clock";
    EXPECT_EQ(ueye_sim::state().pixelClock, model->defaultPixelClock);
    EXPECT_DOUBLE_EQ(readFrameRate(handle), before);

    // Applying it as the module does reaches that rate.
    ASSERT_EQ(is_SetPixelClock(handle, clock), IS_SUCCESS);
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 1.0 / shortestFrameTime(handle), &applied), IS_SUCCESS);
    EXPECT_NEAR(applied, fps, 1e-9);
}

TEST_F(SimTest, OptimalTimingRunsWhileOtherCallsGoOnAndHonoursItsArguments) {
    const HIDS handle = openCamera();
    int clock = -1;
    double fps = -1;
    EXPECT_EQ(is_GetOptimalTiming(handle, 0, 20, &clock, &fps), IS_TIMED_OUT);
    EXPECT_EQ(clock, -1);
    EXPECT_EQ(is_GetOptimalTiming(handle, 1, 5000, &clock, &fps), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_GetOptimalTiming(handle, 0, 5000, nullptr, &fps), IS_INVALID_PARAMETER);
    std::thread search([&] { EXPECT_EQ(is_GetOptimalTiming(handle, 0, 5000, &clock, &fps), IS_SUCCESS); });
    EXPECT_EQ(is_SetGamma(handle, 110), IS_SUCCESS);
    search.join();
    EXPECT_EQ(clock, ueye_sim::findModel("SIM1280-C")->maxPixelClock);
}
