// Injected failures, scripted results, the call log and the trace file.
#include "SimTestSupport.h"

#include <chrono>
#include <string>
#include <vector>

#include "Files.h"

using namespace simtest;

TEST_F(SimTest, InjectedFailuresHitEveryOrTheNthCallAndDoNothing) {
    ueye_sim::failCall("is_InitCamera", IS_CANT_OPEN_DEVICE);
    HIDS handle = 0;
    EXPECT_EQ(is_InitCamera(&handle, nullptr), IS_CANT_OPEN_DEVICE);
    EXPECT_EQ(handle, 0u);
    EXPECT_FALSE(ueye_sim::state().open);
    ueye_sim::clearScripts();
    handle = openCamera();
    ueye_sim::failCall("is_SetGamma", 125);
    EXPECT_EQ(is_SetGamma(handle, 150), 125);
    EXPECT_EQ(is_SetGamma(handle, 150), 125);
    EXPECT_EQ(ueye_sim::state().gamma, 100);
    ueye_sim::failCall("is_SetGamma", 0);  // later rules win; a forced result replaces the call
    EXPECT_EQ(is_SetGamma(handle, 150), 0);
    EXPECT_EQ(ueye_sim::state().gamma, 100);
    ASSERT_EQ(is_SetBrightness(handle, 10), IS_SUCCESS);
    ueye_sim::failCall("is_SetBrightness", 3, 2);  // counted from now
    EXPECT_EQ(is_SetBrightness(handle, 20), IS_SUCCESS);
    EXPECT_EQ(is_SetBrightness(handle, 30), 3);
    EXPECT_EQ(is_SetBrightness(handle, 40), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().brightness, 40);
    ueye_sim::clearScripts();
    EXPECT_EQ(is_SetGamma(handle, 150), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().gamma, 150);
}

TEST_F(SimTest, ASlowedCallReturnsLaterUntilTheScriptsAreCleared) {
    const HIDS handle = openCamera();
    const auto timed = [&] {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(is_SetGamma(handle, 150), IS_SUCCESS);
        return std::chrono::steady_clock::now() - start;
    };
    ueye_sim::slowCall("is_SetGamma", 30000);
    EXPECT_GE(timed(), std::chrono::milliseconds(30));
    ueye_sim::clearScripts();
    EXPECT_LT(timed(), std::chrono::milliseconds(30));
}

TEST_F(SimTest, UesimFailInjectsFailuresFromLoadOrReset) {
    ScopedEnv fail("UESIM_FAIL", "is_InitCamera@2=3, is_SetGamma=-1,broken");
    testing::internal::CaptureStderr();
    ueye_sim::reset();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("broken"), std::string::npos);
    HIDS handle = openCamera();
    EXPECT_EQ(is_SetGamma(handle, 120), -1);
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    handle = 0;
    EXPECT_EQ(is_InitCamera(&handle, nullptr), 3);
    EXPECT_EQ(is_InitCamera(&handle, nullptr), IS_SUCCESS);
    ueye_sim::clearScripts();
    EXPECT_EQ(is_SetGamma(handle, 120), -1) << "the environment's rules stay";
}

TEST_F(SimTest, ScriptedQueriesAnswerOnlyTheirQueryOnTheirCall) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetImageSize(handle, 1000, 700), IS_SUCCESS);
    ueye_sim::scriptQuery("is_SetImagePos", IS_GET_IMAGE_POS_X_MAX, 282);
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_MAX, IS_GET_IMAGE_POS_X_MAX), 282);
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_Y_MAX, IS_GET_IMAGE_POS_Y_MAX), 324);
    EXPECT_EQ(is_SetImagePos(handle, 140, 162), IS_SUCCESS);
    ASSERT_EQ(is_SetHardwareGain(handle, 7, 0, 0, 0), IS_SUCCESS);
    ueye_sim::scriptQuery("is_SetHardwareGain", IS_GET_MASTER_GAIN, 42, 2);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 7);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_RED_GAIN, 0, 0, 0), 0);
    EXPECT_EQ(is_SetHardwareGain(handle, 8, 0, 0, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 42);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 8);
}

TEST_F(SimTest, ScriptedReadingsReplaceTheCamerasValuesUntilReset) {
    HIDS handle = openCamera();
    ueye_sim::scriptExposureReading(12.25);
    ueye_sim::scriptFrameRateReading(7.5);
    double value = 0;
    ASSERT_EQ(is_SetExposureTime(handle, IS_GET_EXPOSURE_TIME, &value), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(value, 12.25);
    ASSERT_EQ(is_SetFrameRate(handle, IS_GET_FRAMERATE, &value), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(value, 7.5);
    EXPECT_DOUBLE_EQ(ueye_sim::state().frameRate, 25.0);
    ueye_sim::failCall("is_SetGamma", 125);
    ASSERT_FALSE(ueye_sim::callLog().empty());
    ueye_sim::reset();
    EXPECT_TRUE(ueye_sim::callLog().empty());
    EXPECT_FALSE(ueye_sim::state().open);
    handle = openCamera();
    EXPECT_EQ(is_SetGamma(handle, 150), IS_SUCCESS);
    ASSERT_EQ(is_SetFrameRate(handle, IS_GET_FRAMERATE, &value), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(value, 25.0);
}

TEST_F(SimTest, TheTraceFileIsAppendedOneLinePerCall) {
    const testsupport::TempDir dir;
    const std::string path = dir.file("trace.txt");
    testsupport::writeFile(path, "earlier line\n");
    {
        ScopedEnv trace("UESIM_TRACE", path);
        ueye_sim::reset();
        EXPECT_EQ(is_SetGamma(5, 100), IS_INVALID_CAMERA_HANDLE);
        HIDS handle = 0;
        ASSERT_EQ(is_InitCamera(&handle, nullptr), IS_SUCCESS);
        double applied = 0;
        ASSERT_EQ(is_SetExposureTime(handle, 20.5, &applied), IS_SUCCESS);
        ASSERT_EQ(is_SetFrameRate(handle, 0.1, nullptr), IS_INVALID_PARAMETER);
        double reference = 128.0, unused = 0.0;
        ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_AUTO_REFERENCE, &reference, &unused), IS_SUCCESS);
        ASSERT_EQ(is_SetColorCorrection(handle, 2, nullptr), IS_SUCCESS);
        char* memory = nullptr;
        int id = 0;
        ASSERT_EQ(is_AllocImageMem(handle, 64, 32, 24, &memory, &id), IS_SUCCESS);
        ASSERT_EQ(is_SetImageMem(handle, memory, id), IS_SUCCESS);
        int x = 0, y = 0, w = 0, h = 0;
        ASSERT_EQ(is_SetAOI(handle, IS_GET_IMAGE_AOI, &x, &y, &w, &h), IS_SUCCESS);
        EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 0);
        ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    }
    const std::vector<std::string> expected{
        "earlier line",
        "is_SetGamma(5, 100) -> 1",
        "is_InitCamera(0, null) -> 0",
        "is_SetExposureTime(1, 20.5, out) -> 0",
        "is_SetFrameRate(1, 0.1, null) -> 125",
        "is_SetAutoParameter(1, 32768, 128, 0) -> 0",
        "is_SetColorCorrection(1, 2, null) -> 0",
        "is_AllocImageMem(1, 64, 32, 24, out, out) -> 0",
        "is_SetImageMem(1, ptr, 1) -> 0",
        "is_SetAOI(1, 32771, out, out, out, out) -> 0",
        "is_SetHardwareGain(1, 32768, 0, 0, 0) -> 0",
        "is_ExitCamera(1) -> 0",
    };
    EXPECT_EQ(testsupport::lines(testsupport::readFile(path)), expected);
}
