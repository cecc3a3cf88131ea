// The shipped configuration file: every virtual camera has usable factory values.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

namespace configtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct Factory {
    const char* camera;
    long masterGain, redGain, greenGain, blueGain;
    bool autoGain;
    long brightness;
    double exposure;
    long clock, minClock, maxClock, gamma;
    bool blEnable;
    long blackLevel, colorMode, colorCorrection;
};

const Factory kShipped[] = {
    {"SIM1280-C", 0, 12, 0, 20, false, 110, 15.5, 43, 5, 43, 100, true, 40, 129, 1},
    {"SIM1280-M", 10, 0, 0, 0, true, 120, 12.0, 30, 5, 43, 120, true, 32, 6, 0},
    {"SIM2592-C", 5, 15, 0, 25, false, 105, 18.5, 30, 6, 96, 160, false, 0, 129, 1},
    {"SIM4912-M", 20, 0, 0, 0, false, 128, 20.0, 48, 12, 128, 100, true, 64, 6, 0},
};

class ConfigShipped : public ConfigTest {};

TEST_F(ConfigShipped, EveryVirtualCameraHasItsFactoryValues) {
    Config& config = useShipped();
    for (const Factory& f : kShipped) {
        SCOPED_TRACE(f.camera);
        EXPECT_EQ(config.getMasterGain(f.camera), f.autoGain ? -1 : f.masterGain);
        EXPECT_EQ(config.getRedGain(f.camera), f.redGain);
        EXPECT_EQ(config.getGreenGain(f.camera), f.greenGain);
        EXPECT_EQ(config.getBlueGain(f.camera), f.blueGain);
        EXPECT_EQ(config.getAutoGain(f.camera), f.autoGain);
        EXPECT_EQ(config.getBrightness(f.camera), f.brightness);
        EXPECT_DOUBLE_EQ(config.getExposure(f.camera), f.exposure);
        EXPECT_EQ(config.getClock(f.camera), f.clock);
        EXPECT_EQ(config.getGamma(f.camera), f.gamma);
        EXPECT_EQ(config.getBLEnable(f.camera), f.blEnable);
        EXPECT_EQ(config.getBlackLevel(f.camera), f.blackLevel);
        EXPECT_EQ(config.getColorMode(f.camera), f.colorMode);
        EXPECT_EQ(config.getColorCorrection(f.camera), f.colorCorrection);
    }
}

TEST_F(ConfigShipped, FactoryValuesAreWithinTheCamerasRanges) {
    Config& config = useShipped();
    int autoGainCameras = 0;
    for (const Factory& f : kShipped) {
        SCOPED_TRACE(f.camera);
        const bool colour = hstring(f.camera).glob("*-C");
        for (long gain : {config.getRedGain(f.camera), config.getGreenGain(f.camera), config.getBlueGain(f.camera)}) {
            EXPECT_GE(gain, 0);
            EXPECT_LE(gain, 100);
        }
        const long master = config.getMasterGain(f.camera);
        if (config.getAutoGain(f.camera)) {
            ++autoGainCameras;
            EXPECT_EQ(master, -1);
        } else {
            EXPECT_GE(master, 0);
            EXPECT_LE(master, 100);
        }
        EXPECT_GE(config.getBrightness(f.camera), 0);
        EXPECT_LE(config.getBrightness(f.camera), 255);
        EXPECT_GT(config.getExposure(f.camera), 0.0);
        EXPECT_LT(config.getExposure(f.camera), 40.0);  // frame time at 25 fps
        EXPECT_GE(config.getClock(f.camera), f.minClock);
        EXPECT_LE(config.getClock(f.camera), f.maxClock);
        EXPECT_GE(config.getGamma(f.camera), 100);
        EXPECT_LE(config.getGamma(f.camera), 220);
        EXPECT_GE(config.getBlackLevel(f.camera), 0);
        EXPECT_LE(config.getBlackLevel(f.camera), 255);
        EXPECT_EQ(config.getColorMode(f.camera), colour ? 129 : 6);
        const long correction = config.getColorCorrection(f.camera);
        EXPECT_TRUE(correction == 0 || correction == 1);
    }
    EXPECT_GE(autoGainCameras, 1);
}

TEST_F(ConfigShipped, HoldsNoPresetNoRecordingAndFrenchAsLanguage) {
    Config& config = useShipped();
    for (const Factory& f : kShipped) EXPECT_FALSE(config.isUserDefined(f.camera)) << f.camera;
    EXPECT_FALSE(config.isUserRecordingDefined());
    EXPECT_EQ(config.getLanguage(), "French");
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings"}),
                ElementsAre("SIM1280-C", "SIM1280-M", "SIM2592-C", "SIM4912-M"));
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language"));
    for (const Factory& f : kShipped) {
        EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", f.camera}),
                    ElementsAreArray({"MasterGain", "RedGain", "GreenGain", "BlueGain", "AutoGain", "Brightness",
                                      "Exposure", "Clock", "Gamma", "BLEnable", "BlackLevel", "ColorMode",
                                      "ColorCorrection"}))
            << f.camera;
    }
}

TEST(ConfigShippedCopy, TheBuildPlacesTheShippedFileBesideTheExecutable) {
    Qel::HelperFuncs::setAppDir("");
    const std::string beside = Qel::HelperFuncs::getAppDir().str() + "res/config.xml";
    ASSERT_TRUE(testsupport::fileExists(beside)) << beside;
    EXPECT_EQ(testsupport::readFile(beside), testsupport::shippedConfig());
}

}  // namespace
}  // namespace configtest
