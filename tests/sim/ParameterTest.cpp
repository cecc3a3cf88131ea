// Every value set is held by the camera and read back by its query.
#include "SimTestSupport.h"

using namespace simtest;

TEST_F(SimTest, GainsAreSetAndReadBack) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetHardwareGain(handle, 10, 20, 30, 40), IS_SUCCESS);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 10);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_RED_GAIN, 0, 0, 0), 20);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_GREEN_GAIN, 0, 0, 0), 30);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_BLUE_GAIN, 0, 0, 0), 40);
    const auto state = ueye_sim::state();
    EXPECT_EQ(state.masterGain, 10);
    EXPECT_EQ(state.blueGain, 40);
}

TEST_F(SimTest, IgnoreParameterLeavesAGainAndOutOfRangeGainsAreClamped) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetHardwareGain(handle, 10, 20, 30, 40), IS_SUCCESS);
    ASSERT_EQ(is_SetHardwareGain(handle, IS_IGNORE_PARAMETER, 5, IS_IGNORE_PARAMETER, 150), IS_SUCCESS);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 10);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_RED_GAIN, 0, 0, 0), 5);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_GREEN_GAIN, 0, 0, 0), 30);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_BLUE_GAIN, 0, 0, 0), 100);
    ASSERT_EQ(is_SetHardwareGain(handle, -20, 0, 0, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 0);
}

TEST_F(SimTest, AGainQueryWithNonzeroColourArgumentsIsRefused) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 1, 0, 0), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, AutomaticControlsAreSwitchedAndReadBack) {
    const HIDS handle = openCamera();
    double value = 2.0, second = 0.0;
    ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_GAIN, &value, &second), IS_SUCCESS);
    value = 0.0;
    ASSERT_EQ(is_SetAutoParameter(handle, IS_GET_ENABLE_AUTO_GAIN, &value, &second), IS_SUCCESS);
    EXPECT_EQ(value, 1.0);
    EXPECT_TRUE(ueye_sim::state().autoGain);
    value = 0.0;
    ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_GAIN, &value, &second), IS_SUCCESS);
    value = 5.0;
    ASSERT_EQ(is_SetAutoParameter(handle, IS_GET_ENABLE_AUTO_GAIN, &value, &second), IS_SUCCESS);
    EXPECT_EQ(value, 0.0);

    value = 1.0;
    ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_SHUTTER, &value, &second), IS_SUCCESS);
    ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_WHITEBALANCE, &value, &second), IS_SUCCESS);
    EXPECT_TRUE(ueye_sim::state().autoShutter);
    EXPECT_TRUE(ueye_sim::state().autoWhiteBalance);
    value = 128.0;
    EXPECT_EQ(is_SetAutoParameter(handle, IS_SET_AUTO_REFERENCE, &value, &second), IS_SUCCESS);
    EXPECT_EQ(is_SetAutoParameter(handle, 0x8123, &value, &second), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_GAIN, nullptr, &second), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, BrightnessIsSetClampedAndReadBack) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetBrightness(handle, IS_GET_BRIGHTNESS), 128) << "neutral at first";
    ASSERT_EQ(is_SetBrightness(handle, 77), IS_SUCCESS);
    EXPECT_EQ(is_SetBrightness(handle, IS_GET_BRIGHTNESS), 77);
    ASSERT_EQ(is_SetBrightness(handle, 300), IS_SUCCESS);
    EXPECT_EQ(is_SetBrightness(handle, IS_GET_BRIGHTNESS), 255);
    ASSERT_EQ(is_SetBrightness(handle, -5), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().brightness, 0);
}

TEST_F(SimTest, ExposureAndFrameRateAreSetAndReadBack) {
    const HIDS handle = openCamera();
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(handle, 20.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetExposureTime(handle, 12.5, &applied), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(applied, 12.5);
    double value = 0;
    ASSERT_EQ(is_SetExposureTime(handle, IS_GET_EXPOSURE_TIME, &value), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(value, 12.5);
    ASSERT_EQ(is_SetFrameRate(handle, IS_GET_FRAMERATE, &value), IS_SUCCESS);
    EXPECT_DOUBLE_EQ(value, 20.0);
    EXPECT_DOUBLE_EQ(ueye_sim::state().exposureMs, 12.5);
    EXPECT_DOUBLE_EQ(ueye_sim::state().frameRate, 20.0);
}

TEST_F(SimTest, TheOtherSettingsAreStored) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetGamma(handle, 160), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().gamma, 160);
    EXPECT_EQ(is_SetBlCompensation(handle, 1, 40, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetBlCompensation(handle, 0, 0, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetColorCorrection(handle, 1, nullptr), IS_SUCCESS);
    double factors[3]{1.0, 1.0, 1.0};
    EXPECT_EQ(is_SetColorCorrection(handle, 4, factors), IS_SUCCESS);
    EXPECT_EQ(is_SetDisplayMode(handle, IS_SET_DM_DIB), IS_SUCCESS);
    EXPECT_EQ(is_SetExternalTrigger(handle, IS_SET_TRIGGER_OFF), IS_SUCCESS);
    EXPECT_EQ(is_UncheckedSetup(handle, 2, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetBinning(handle, IS_BINNING_DISABLE), IS_SUCCESS);
    EXPECT_EQ(is_SetPixelClock(handle, 30), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().pixelClock, 30);
}

TEST_F(SimTest, OnlyTheSimulatedModesAreAccepted) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetColorMode(handle, IS_CM_MONO8), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().colourMode, IS_CM_MONO8);
    EXPECT_EQ(is_SetColorMode(handle, IS_CM_RGB8_PACKED), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().colourMode, IS_CM_RGB8_PACKED);
    EXPECT_EQ(is_SetColorMode(handle, 3), IS_INVALID_PARAMETER);
    EXPECT_EQ(ueye_sim::state().colourMode, IS_CM_RGB8_PACKED);
    EXPECT_EQ(is_SetBinning(handle, 3), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetExternalTrigger(handle, 1), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, AMonochromeCameraStartsInMono8) {
    ASSERT_TRUE(ueye_sim::connectCamera("SIM4912-M"));
    openCamera();
    EXPECT_EQ(ueye_sim::state().colourMode, IS_CM_MONO8);
    EXPECT_EQ(ueye_sim::state().aoiWidth, 4912);
}

TEST_F(SimTest, OpeningAgainStartsFromTheCamerasDefaults) {
    HIDS handle = openCamera();
    ASSERT_EQ(is_SetHardwareGain(handle, 50, 1, 2, 3), IS_SUCCESS);
    ASSERT_EQ(is_SetImageSize(handle, 640, 480), IS_SUCCESS);
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    handle = openCamera();
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 0);
    EXPECT_EQ(ueye_sim::state().aoiWidth, 1280);
}
