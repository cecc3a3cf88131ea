// Gains, exposure, brightness and the automatic controls show in the picture.
#include "SimTestSupport.h"

using namespace simtest;

namespace {

// Columns of three bars of SIM1280-C's lower half, and a line through them.
constexpr int kRedBar = 10;
constexpr int kWhiteBar = 3 * 160 + 10;
constexpr int kBlackBar = 7 * 160 + 10;
constexpr int kBarLine = 1000;

// One frame drawn with the settings now in force.
void takeFrame(const Camera& camera) {
    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    stopCapture(camera);
}

}  // namespace

// Settings applied one after the other on SIM1280-C, then one frame.
struct Look {
    double exposure;  // 0: unchanged
    int master, red, brightness;
    Pixel white, black;
};

constexpr int kKeep = IS_IGNORE_PARAMETER;
const Look kLooks[] = {
    {0, kKeep, kKeep, kKeep, {255, 255, 255}, {0, 0, 0}},
    {5.0, kKeep, kKeep, kKeep, {128, 128, 128}, {0, 0, 0}},  // a shorter exposure darkens
    {0, kKeep, 50, kKeep, {255, 128, 128}, {0, 0, 0}},       // only red doubled
    {0, 50, 0, kKeep, {255, 255, 255}, {0, 0, 0}},
    {0, 0, 0, 0, {64, 64, 64}, {0, 0, 0}},          // brightness lowers every level
    {0, 0, 0, 255, {191, 191, 191}, {64, 64, 64}},  // and lifts the black
};

TEST_F(SimTest, ExposureGainsAndBrightnessShowInThePicture) {
    const Camera camera = openWithMemory();
    for (const Look& look : kLooks) {
        double applied = 0;
        if (look.exposure > 0) {
            ASSERT_EQ(is_SetExposureTime(camera.handle, look.exposure, &applied), IS_SUCCESS);
        }
        ASSERT_EQ(is_SetHardwareGain(camera.handle, look.master, look.red, kKeep, kKeep), IS_SUCCESS);
        if (look.brightness != kKeep) {
            ASSERT_EQ(is_SetBrightness(camera.handle, look.brightness), IS_SUCCESS);
        }
        takeFrame(camera);
        EXPECT_EQ(pixelAt(camera, kWhiteBar, kBarLine), look.white) << &look - kLooks;
        EXPECT_EQ(pixelAt(camera, kBlackBar, kBarLine), look.black) << &look - kLooks;
        EXPECT_EQ(pixelAt(camera, kRedBar, kBarLine).r, look.white.r) << &look - kLooks;
    }
}

TEST_F(SimTest, ColorGainsDoNotTintAMonochromeCamera) {
    ASSERT_TRUE(ueye_sim::connectCamera("SIM1280-M"));
    const Camera camera = openWithMemory();
    double applied = 0;
    ASSERT_EQ(is_SetExposureTime(camera.handle, 5.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetHardwareGain(camera.handle, 0, 100, 0, 0), IS_SUCCESS);
    takeFrame(camera);
    EXPECT_EQ(pixelAt(camera, kWhiteBar, kBarLine).r, 128);
    ASSERT_EQ(is_SetHardwareGain(camera.handle, 50, 0, 0, 0), IS_SUCCESS);
    takeFrame(camera);
    EXPECT_EQ(pixelAt(camera, kWhiteBar, kBarLine).r, 255);
}

TEST_F(SimTest, AutoGainRaisesTheGainOfADarkPicture) {
    const Camera camera = openWithMemory();
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(camera.handle, 60.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetExposureTime(camera.handle, 2.0, &applied), IS_SUCCESS);
    double on = 1.0, unused = 0.0;
    ASSERT_EQ(is_SetAutoParameter(camera.handle, IS_SET_ENABLE_AUTO_GAIN, &on, &unused), IS_SUCCESS);
    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(20, 20000));
    EXPECT_GT(is_SetHardwareGain(camera.handle, IS_GET_MASTER_GAIN, 0, 0, 0), 10);

    double off = 0.0;
    ASSERT_EQ(is_SetAutoParameter(camera.handle, IS_SET_ENABLE_AUTO_GAIN, &off, &unused), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(1, 10000));  // a frame in flight may still nudge once
    const int settled = is_SetHardwareGain(camera.handle, IS_GET_MASTER_GAIN, 0, 0, 0);
    ASSERT_TRUE(ueye_sim::waitFrames(5, 10000));
    EXPECT_EQ(is_SetHardwareGain(camera.handle, IS_GET_MASTER_GAIN, 0, 0, 0), settled);
}

TEST_F(SimTest, AutoWhiteBalanceEvensOutAStrongChannel) {
    const Camera camera = openWithMemory();
    double applied = 0;
    ASSERT_EQ(is_SetFrameRate(camera.handle, 60.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetExposureTime(camera.handle, 5.0, &applied), IS_SUCCESS);
    ASSERT_EQ(is_SetHardwareGain(camera.handle, IS_IGNORE_PARAMETER, 60, 0, 0), IS_SUCCESS);
    double on = 1.0, unused = 0.0;
    ASSERT_EQ(is_SetAutoParameter(camera.handle, IS_SET_ENABLE_AUTO_WHITEBALANCE, &on, &unused), IS_SUCCESS);
    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(20, 20000));
    const int red = is_SetHardwareGain(camera.handle, IS_GET_RED_GAIN, 0, 0, 0);
    const int green = is_SetHardwareGain(camera.handle, IS_GET_GREEN_GAIN, 0, 0, 0);
    EXPECT_LT(red - green, 45) << "red " << red << ", green " << green;
    EXPECT_EQ(ueye_sim::state().redGain, red);
}
