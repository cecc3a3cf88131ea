// Every value set is held by the camera and read back by its query.
#include "SimTestSupport.h"

using namespace simtest;

namespace {

int gain(HIDS handle, int which) { return is_SetHardwareGain(handle, which, 0, 0, 0); }

}  // namespace

TEST_F(SimTest, GainsAreSetIgnoredOrClampedAndReadBack) {
    const HIDS handle = openCamera();
    struct Case {
        int master, red, green, blue;
        int read[4];
    };
    const int keep = IS_IGNORE_PARAMETER;
    for (const Case& row : {Case{10, 20, 30, 40, {10, 20, 30, 40}}, Case{keep, 5, keep, 150, {10, 5, 30, 100}},
                            Case{-20, keep, keep, keep, {0, 5, 30, 100}}}) {
        ASSERT_EQ(is_SetHardwareGain(handle, row.master, row.red, row.green, row.blue), IS_SUCCESS);
        EXPECT_EQ(gain(handle, IS_GET_MASTER_GAIN), row.read[0]);
        EXPECT_EQ(gain(handle, IS_GET_RED_GAIN), row.read[1]);
        EXPECT_EQ(gain(handle, IS_GET_GREEN_GAIN), row.read[2]);
        EXPECT_EQ(gain(handle, IS_GET_BLUE_GAIN), row.read[3]);
        EXPECT_EQ(ueye_sim::state().blueGain, row.read[3]);
    }
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 1, 0, 0), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, AutomaticControlsAreSwitchedAndReadBack) {
    const HIDS handle = openCamera();
    double unused = 0.0;
    for (const double set : {2.0, 0.0}) {
        double value = set;
        ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_GAIN, &value, &unused), IS_SUCCESS);
        value = 5.0;
        ASSERT_EQ(is_SetAutoParameter(handle, IS_GET_ENABLE_AUTO_GAIN, &value, &unused), IS_SUCCESS);
        EXPECT_EQ(value, set != 0 ? 1.0 : 0.0);
        EXPECT_EQ(ueye_sim::state().autoGain, set != 0);
    }
    double value = 1.0;
    ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_SHUTTER, &value, &unused), IS_SUCCESS);
    ASSERT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_WHITEBALANCE, &value, &unused), IS_SUCCESS);
    EXPECT_TRUE(ueye_sim::state().autoShutter);
    EXPECT_TRUE(ueye_sim::state().autoWhiteBalance);
    value = 128.0;
    EXPECT_EQ(is_SetAutoParameter(handle, IS_SET_AUTO_REFERENCE, &value, &unused), IS_SUCCESS);
    EXPECT_EQ(is_SetAutoParameter(handle, 0x8123, &value, &unused), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetAutoParameter(handle, IS_SET_ENABLE_AUTO_GAIN, nullptr, &unused), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, BrightnessIsClampedAndReadBack) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetBrightness(handle, IS_GET_BRIGHTNESS), 128) << "neutral at first";
    for (const auto& [set, read] : {std::pair{77, 77}, std::pair{300, 255}, std::pair{-5, 0}}) {
        ASSERT_EQ(is_SetBrightness(handle, set), IS_SUCCESS);
        EXPECT_EQ(is_SetBrightness(handle, IS_GET_BRIGHTNESS), read);
        EXPECT_EQ(ueye_sim::state().brightness, read);
    }
}

TEST_F(SimTest, TheOtherSettingsAreStoredAndOnlyTheSimulatedModesAccepted) {
    const HIDS handle = openCamera();
    double factors[3]{1.0, 1.0, 1.0};
    EXPECT_EQ(is_SetGamma(handle, 160), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().gamma, 160);
    EXPECT_EQ(is_SetBlCompensation(handle, 1, 40, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetBlCompensation(handle, 0, 0, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetColorCorrection(handle, 1, nullptr), IS_SUCCESS);
    EXPECT_EQ(is_SetColorCorrection(handle, 4, factors), IS_SUCCESS);
    EXPECT_EQ(is_SetDisplayMode(handle, IS_SET_DM_DIB), IS_SUCCESS);
    EXPECT_EQ(is_SetExternalTrigger(handle, IS_SET_TRIGGER_OFF), IS_SUCCESS);
    EXPECT_EQ(is_UncheckedSetup(handle, 2, 0), IS_SUCCESS);
    EXPECT_EQ(is_SetBinning(handle, IS_BINNING_DISABLE), IS_SUCCESS);
    EXPECT_EQ(is_SetPixelClock(handle, 30), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().pixelClock, 30);
    EXPECT_EQ(is_SetColorMode(handle, IS_CM_MONO8), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().colorMode, IS_CM_MONO8);
    EXPECT_EQ(is_SetColorMode(handle, IS_CM_RGB8_PACKED), IS_SUCCESS);
    EXPECT_EQ(is_SetColorMode(handle, 3), IS_INVALID_PARAMETER);
    EXPECT_EQ(ueye_sim::state().colorMode, IS_CM_RGB8_PACKED);
    EXPECT_EQ(is_SetBinning(handle, 3), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetExternalTrigger(handle, 1), IS_INVALID_PARAMETER);
}
