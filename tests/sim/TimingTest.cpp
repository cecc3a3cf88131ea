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

// In turn on a fresh SIM1280-C: 'F' sets the frame rate, 'E' the exposure, each
// expecting the applied value; 'f' and 'e' read them back.
struct TimingStep {
    char call;
    double value, expected;
};

const TimingStep kSteps[] = {
    {'f', 0, 25},    {'F', 60, 60}, {'F', 0, 0.5}, {'F', 12.5, 12.5}, {'F', 10, 10},
    {'E', 500, 100}, {'e', 0, 100}, {'E', 20, 20}, {'F', 5, 5},       {'E', 150, 150},
    {'F', 50, 50},   {'e', 0, 20},  {'F', 5, 5},   {'e', 0, 20},  // lowering the rate leaves the exposure
};

TEST_F(SimTest, TheFrameRateBoundsTheExposure) {
    const HIDS handle = openCamera();
    for (const TimingStep& step : kSteps) {
        double got = -1;
        const int status = step.call == 'F'   ? is_SetFrameRate(handle, step.value, &got)
                           : step.call == 'E' ? is_SetExposureTime(handle, step.value, &got)
                                              : IS_SUCCESS;
        if (step.call == 'f') got = readFrameRate(handle);
        if (step.call == 'e') got = readExposure(handle);
        EXPECT_EQ(status, IS_SUCCESS);
        EXPECT_DOUBLE_EQ(got, step.expected) << step.call << " " << step.value;
    }
    double fps = 0;
    ASSERT_EQ(is_SetFrameRate(handle, IS_GET_DEFAULT_FRAMERATE, &fps), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(fps, 25.0);
    ASSERT_EQ(is_SetFrameRate(handle, 1000.0, &fps), IS_SUCCESS);
    EXPECT_NEAR(fps, 1.0 / shortestFrameTime(handle), 1e-9);
    EXPECT_GT(fps, 60.0);
    EXPECT_EQ(is_SetFrameRate(handle, 10.0, nullptr), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_GetFrameTimeRange(handle, nullptr, &fps, &fps), IS_INVALID_PARAMETER);
    ASSERT_EQ(is_SetExposureTime(handle, -3.0, &fps), IS_SUCCESS);
    EXPECT_GT(fps, 0.0);
    EXPECT_LT(fps, 1.0);
}

TEST_F(SimTest, ALowerPixelClockLowersTheFrameRate) {
    const HIDS handle = openCamera();
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 60.0, &applied), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().pixelClock, ueye_sim::findModel("SIM1280-C")->defaultPixelClock);
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

TEST_F(SimTest, TheFrameTimeFollowsClockAndAreaAndBoundsTheRate) {
    const HIDS handle = openCamera();
    const double full = shortestFrameTime(handle);
    ASSERT_EQ(is_SetImageSize(handle, 640, 480), IS_SUCCESS);
    ASSERT_EQ(is_SetPixelClock(handle, 40), IS_SUCCESS);
    const double smaller = shortestFrameTime(handle);
    EXPECT_LT(smaller, full / 2);
    ASSERT_EQ(is_SetPixelClock(handle, 20), IS_SUCCESS);
    EXPECT_NEAR(shortestFrameTime(handle), smaller * 2, 1e-12);
    // Growing the area again lowers a rate the larger area cannot reach.
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 1.0 / smaller / 2, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetImageSize(handle, 1280, 1024), IS_SUCCESS);
    EXPECT_NEAR(readFrameRate(handle), 1.0 / shortestFrameTime(handle), 1e-9);
    EXPECT_LT(readFrameRate(handle), applied);
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
