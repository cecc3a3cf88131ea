// The shipped configuration file: every virtual camera has its factory values
// and nothing else.
#include "ConfigElements.h"
#include "ConfigTestSupport.h"
#include "ueye.h"

#include <gmock/gmock.h>

namespace configtest {
namespace {

using namespace configelements;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// Per camera of kShippedCameras, in the order of kFactory (MasterGain -1: auto gain).
const double kShipped[][std::size(kFactory)] = {
    {0, 12, 0, 20, 0, 110, 15.5, 43, 100, 1, 40, IS_CM_RGB8_PACKED, 1},  // SIM1280-C
    {-1, 0, 0, 0, 1, 120, 12.0, 30, 120, 1, 32, IS_CM_MONO8, 0},         // SIM1280-M
    {5, 15, 0, 25, 0, 105, 18.5, 30, 160, 0, 0, IS_CM_RGB8_PACKED, 1},   // SIM2592-C
    {20, 0, 0, 0, 0, 128, 20.0, 48, 100, 1, 64, IS_CM_MONO8, 0},         // SIM4912-M
    {0, 12, 0, 20, 0, 110, 15.5, 43, 100, 1, 40, IS_CM_RGB8_PACKED, 1},  // SIM1284-C
    {-1, 0, 0, 0, 1, 120, 12.0, 30, 120, 1, 32, IS_CM_MONO8, 0},         // SIM1284-M
};

class ConfigShipped : public ConfigTest {};

TEST_F(ConfigShipped, EveryVirtualCameraHasItsFactoryValuesAndNoPreset) {
    Config& config = useShipped();
    std::vector<std::string> names;
    for (const Factory& f : kFactory) names.push_back(f.name);
    for (size_t c = 0; c < std::size(kShippedCameras); ++c) {
        const char* cam = kShippedCameras[c];
        for (size_t i = 0; i < std::size(kFactory); ++i)
            EXPECT_EQ(kFactory[i].read(config, cam), kShipped[c][i]) << cam << " " << kFactory[i].name;
        EXPECT_FALSE(config.isUserDefined(cam)) << cam;
        EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", cam}), ElementsAreArray(names)) << cam;
    }
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings"}), ElementsAreArray(kShippedCameras));
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language"));
    EXPECT_FALSE(config.isUserRecordingDefined());
    EXPECT_EQ(config.getLanguage(), "System");  // the viewer follows the locale until one is chosen
}

TEST(ConfigShippedCopy, TheBuildPlacesTheShippedFileBesideTheExecutable) {
    Qel::HelperFuncs::setAppDir("");
    const std::string beside = Qel::HelperFuncs::getAppDir().str() + "res/config.xml";
    ASSERT_TRUE(testsupport::fileExists(beside)) << beside;
    EXPECT_EQ(testsupport::readFile(beside), testsupport::shippedConfig());
}

}  // namespace
}  // namespace configtest
