#include "CameraFixture.h"

#include <Nimbrel_model/Thread.h>

namespace camtest {
namespace {

using OptimizeTest = CameraFixture;

// The value argument of a logged is_SetFrameRate call: "handle, value, out".
double frameRateArgument(const ueye_sim::CallRecord& record) {
    const auto first = record.arguments.find(", ");
    return std::stod(record.arguments.substr(first + 2));
}

bool waitForOptimizeEnd(CountingListener& listener, int count = 1) {
    return testsupport::pumpUntil([&] { return listener.optimizeEnds >= count; }, 15000);
}

TEST_F(OptimizeTest, RaisesTheFrameRateOnAWorkerThread) {
    open("SIM2592-C");
    const double before = camera()->getFrameRate();
    CountingListener listener;
    config()->setConfSaved(true);
    camera()->optimizeClock(&listener);
    EXPECT_FALSE(config()->getConfSaved());  // at once, before the work is done
    ASSERT_TRUE(waitForOptimizeEnd(listener));
    EXPECT_NE(listener.optimizeThread, std::this_thread::get_id());
    EXPECT_GT(camera()->getFrameRate(), before);
}

TEST_F(OptimizeTest, FailedSearchChangesNothingButStillEnds) {
    open("SIM2592-C");
    const auto before = ueye_sim::state();
    ueye_sim::scriptOptimalTiming(-1, 80, 99.0);
    CountingListener listener;
    camera()->optimizeClock(&listener);
    ASSERT_TRUE(waitForOptimizeEnd(listener));
    EXPECT_EQ(ueye_sim::state().pixelClock, before.pixelClock);
    EXPECT_DOUBLE_EQ(ueye_sim::state().frameRate, before.frameRate);
}

TEST_F(OptimizeTest, ShortestFrameTimeWinsWhenFaster) {
    open("SIM1280-C");
    camera()->setAOI(640, 480);
    ueye_sim::scriptOptimalTiming(0, 40, 10.0);
    ueye_sim::scriptFrameTimeRange(0, 1.0 / 50.0, 2.0, 0.0001);
    CountingListener listener;
    ueye_sim::clearCallLog();
    camera()->optimizeClock(&listener);
    ASSERT_TRUE(waitForOptimizeEnd(listener));
    const auto log = ueye_sim::callLog();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].function, "is_GetOptimalTiming");
    EXPECT_EQ(log[1].function, "is_SetPixelClock");
    EXPECT_EQ(log[2].function, "is_GetFrameTimeRange");
    EXPECT_EQ(log[3].function, "is_SetFrameRate");
    EXPECT_NEAR(frameRateArgument(log[3]), 50.0, 1e-9) << log[3].arguments;
}

TEST_F(OptimizeTest, FailedRangeQueryKeepsTheSearchResult) {
    open("SIM1280-C");
    ueye_sim::scriptOptimalTiming(0, 40, 12.5);
    ueye_sim::scriptFrameTimeRange(-1, 0.001, 2.0, 0.0001);
    CountingListener listener;
    ueye_sim::clearCallLog();
    camera()->optimizeClock(&listener);
    ASSERT_TRUE(waitForOptimizeEnd(listener));
    EXPECT_DOUBLE_EQ(frameRateArgument(ueye_sim::callLog().back()), 12.5);
}

TEST_F(OptimizeTest, NullListenerIsFine) {
    open("SIM2592-C");
    const double before = camera()->getFrameRate();
    camera()->optimizeClock(nullptr);
    ASSERT_TRUE(testsupport::pumpUntil([&] { return camera()->getFrameRate() > before; }, 15000));
}

TEST_F(OptimizeTest, OtherTypesDoNothing) {
    open("SIM1280-C");
    CountingListener listener;
    ueye_sim::clearCallLog();
    auto* thread = new Nimbrel_model::Thread(3, &listener);
    EXPECT_EQ(thread->getType(), 3);
    ASSERT_EQ(thread->Run(), wxTHREAD_NO_ERROR);
    testsupport::pumpFor(300);
    EXPECT_EQ(listener.optimizeEnds, 0);
    EXPECT_TRUE(ueye_sim::callLog().empty());
}

TEST_F(OptimizeTest, ResetWaitsForARunningOptimisation) {
    open("SIM2592-C");
    CountingListener listener;
    camera()->optimizeClock(&listener);
    camera()->resetUserSettings();
    EXPECT_EQ(listener.optimizeEnds, 1);
    EXPECT_TRUE(ueye_sim::state().capturing);
}

TEST_F(OptimizeTest, ExitDoesNotWaitAndTheWorkerSurvives) {
    open("SIM2592-C");
    CountingListener listener;
    camera()->optimizeClock(&listener);
    camera()->exit();
    ASSERT_TRUE(waitForOptimizeEnd(listener));
}

}  // namespace
}  // namespace camtest
