// The host's recording settings under the root, and their saved flag.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>

namespace configtest {
namespace {

using ::testing::ElementsAre;

const std::string kLanguage = "  <Language>English</Language>\n";

class ConfigRecording : public ConfigTest {};

TEST_F(ConfigRecording, NoRecordingElementsReadAsZero) {
    Config& config = use(oneCamera());
    EXPECT_EQ(config.getAviUserReplayFrameRate(), 0);
    EXPECT_EQ(config.getAviUserMaxSize(), 0);
    EXPECT_EQ(config.getAviUserFrameRate(), 0);
    EXPECT_EQ(config.getAviUserLength(), 0);
    EXPECT_FALSE(config.isUserRecordingDefined());
}

TEST_F(ConfigRecording, ValuesAreReadFromTheRoot) {
    Config& config = use(document(camera(kCamera, factoryElements()),
                                  "  <AviUserReplayFrameRate>12</AviUserReplayFrameRate>\n"
                                  "  <AviUserMaxSize>700</AviUserMaxSize>\n"
                                  "  <AviUserFrameRate>-25</AviUserFrameRate>\n"
                                  "  <AviUserLength>60</AviUserLength>\n"));
    EXPECT_EQ(config.getAviUserReplayFrameRate(), 12);
    EXPECT_EQ(config.getAviUserMaxSize(), 700);
    EXPECT_EQ(config.getAviUserFrameRate(), -25);
    EXPECT_EQ(config.getAviUserLength(), 60);
    EXPECT_TRUE(config.isUserRecordingDefined());
}

TEST_F(ConfigRecording, UnusableTextsGiveWhatTheParseLeaves) {
    Config& config = use(document(camera(kCamera, factoryElements()),
                                  "  <AviUserReplayFrameRate>abc</AviUserReplayFrameRate>\n"
                                  "  <AviUserMaxSize>25fps</AviUserMaxSize>\n"
                                  "  <AviUserFrameRate/>\n"
                                  "  <AviUserLength>99999999999999999999</AviUserLength>\n"));
    EXPECT_EQ(config.getAviUserReplayFrameRate(), 0);
    EXPECT_EQ(config.getAviUserMaxSize(), 25);  // the leading number, as the parse leaves it
    EXPECT_EQ(config.getAviUserFrameRate(), 0);
    EXPECT_EQ(config.getAviUserLength(), 0);  // out of range: nothing stored
}

TEST_F(ConfigRecording, RecordingElementsInsideCamerasDoNotCount) {
    Config& config = use(oneCamera(element("AviUserLength", "5")));
    EXPECT_FALSE(config.isUserRecordingDefined());
    EXPECT_EQ(config.getAviUserLength(), 0);
}

TEST_F(ConfigRecording, EachSetterAppendsToTheRootAndSaves) {
    Config& config = use(document(camera(kCamera, factoryElements()), kLanguage));
    SaveCounter saves(resFolder(), "config.xml");
    config.setAviUserMaxSize(512);
    EXPECT_EQ(saves.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", "AviUserMaxSize"));
    EXPECT_EQ(valueIn(configPath(), {"AviUserMaxSize"}), "512");
    EXPECT_TRUE(config.isUserRecordingDefined());

    config.setAviUserReplayFrameRate(15);
    config.setAviUserFrameRate(30);
    config.setAviUserLength(120);
    config.setAviUserMaxSize(256);  // in place
    EXPECT_EQ(saves.take(), 4);
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", "AviUserMaxSize",
                                                          "AviUserReplayFrameRate", "AviUserFrameRate", "AviUserLength"));
    EXPECT_EQ(valueIn(configPath(), {"AviUserMaxSize"}), "256");
    EXPECT_EQ(valueIn(configPath(), {"AviUserReplayFrameRate"}), "15");
    EXPECT_EQ(valueIn(configPath(), {"AviUserFrameRate"}), "30");
    EXPECT_EQ(valueIn(configPath(), {"AviUserLength"}), "120");
    EXPECT_EQ(config.getAviUserMaxSize(), 256);
    EXPECT_EQ(config.getAviUserReplayFrameRate(), 15);
    EXPECT_EQ(config.getAviUserFrameRate(), 30);
    EXPECT_EQ(config.getAviUserLength(), 120);
}

TEST_F(ConfigRecording, SettersAloneLeaveTheFlag) {
    Config& config = use(oneCamera());
    config.setRecordConfSaved(false);
    config.setAviUserLength(1);
    config.setAviUserFrameRate(2);
    config.setAviUserMaxSize(3);
    config.setAviUserReplayFrameRate(4);
    EXPECT_FALSE(config.getRecordConfSaved());
    config.setRecordConfSaved(true);
    config.setAviUserLength(5);
    EXPECT_TRUE(config.getRecordConfSaved());
}

TEST_F(ConfigRecording, SaveTruncatesStoresInOrderSavesFourTimesAndSetsTheFlag) {
    Config& config = use(document(camera(kCamera, factoryElements()), kLanguage));
    config.setRecordConfSaved(false);
    SaveCounter saves(resFolder(), "config.xml");
    config.saveUserRecordSettings(10.9, 25.5, 100.0, 12);
    EXPECT_EQ(saves.take(), 4);
    EXPECT_TRUE(config.getRecordConfSaved());
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", "AviUserLength",
                                                          "AviUserFrameRate", "AviUserMaxSize", "AviUserReplayFrameRate"));
    EXPECT_EQ(valueIn(configPath(), {"AviUserLength"}), "10");
    EXPECT_EQ(valueIn(configPath(), {"AviUserFrameRate"}), "25");
    EXPECT_EQ(valueIn(configPath(), {"AviUserMaxSize"}), "100");
    EXPECT_EQ(valueIn(configPath(), {"AviUserReplayFrameRate"}), "12");
    EXPECT_EQ(config.getAviUserLength(), 10);
    EXPECT_EQ(config.getAviUserReplayFrameRate(), 12);
}

TEST_F(ConfigRecording, SaveTruncatesTowardZero) {
    Config& config = use(oneCamera());
    config.saveUserRecordSettings(-2.9, 0.99, -0.5, -3);
    EXPECT_EQ(valueIn(configPath(), {"AviUserLength"}), "-2");
    EXPECT_EQ(valueIn(configPath(), {"AviUserFrameRate"}), "0");
    EXPECT_EQ(valueIn(configPath(), {"AviUserMaxSize"}), "0");
    EXPECT_EQ(valueIn(configPath(), {"AviUserReplayFrameRate"}), "-3");
}

TEST_F(ConfigRecording, SaveClampsValuesNoIntegerCanHold) {
    Config& config = use(oneCamera());
    const double inf = std::numeric_limits<double>::infinity();
    config.saveUserRecordSettings(1e300, -inf, std::nan(""), LONG_MAX);
    EXPECT_EQ(valueIn(configPath(), {"AviUserLength"}), std::to_string(INT_MAX));
    EXPECT_EQ(valueIn(configPath(), {"AviUserFrameRate"}), std::to_string(INT_MIN));
    EXPECT_EQ(valueIn(configPath(), {"AviUserMaxSize"}), "0");
    EXPECT_EQ(valueIn(configPath(), {"AviUserReplayFrameRate"}), std::to_string(INT_MAX));

    config.saveUserRecordSettings(3e9, -3e9, 9.3e18, LONG_MIN);
    EXPECT_EQ(config.getAviUserLength(), INT_MAX);
    EXPECT_EQ(config.getAviUserFrameRate(), INT_MIN);
    EXPECT_EQ(config.getAviUserMaxSize(), INT_MAX);
    EXPECT_EQ(config.getAviUserReplayFrameRate(), INT_MIN);
}

TEST_F(ConfigRecording, FailedSaveStopsTheSequenceAndKeepsTheFlag) {
    Config& config = use(oneCamera());
    config.setRecordConfSaved(false);
    std::filesystem::remove_all(resFolder());
    EXPECT_THROW(config.saveUserRecordSettings(10, 25, 100, 12), Qel::Exception);
    EXPECT_FALSE(config.getRecordConfSaved());
    // Only the first value reached the document before the failure.
    EXPECT_EQ(config.getAviUserLength(), 10);
    EXPECT_EQ(config.getAviUserFrameRate(), 0);
    EXPECT_EQ(config.getAviUserMaxSize(), 0);
    EXPECT_EQ(config.getAviUserReplayFrameRate(), 0);
}

TEST_F(ConfigRecording, ResetRemovesEveryRecordingElementSavesAndSetsTheFlag) {
    Config& config = use("<Settings>\n"
                         "  <AviUserLength>60</AviUserLength>\n"
                         "  <CameraSettings>\n" +
                         camera(kCamera, factoryElements()) +
                         "  </CameraSettings>\n"
                         "  <AviUserMaxSize>5</AviUserMaxSize>\n" +
                         kLanguage +
                         "  <AviUserFrameRate>25</AviUserFrameRate>\n"
                         "  <AviUserReplayFrameRate>12</AviUserReplayFrameRate>\n"
                         "  <Avi>keep</Avi>\n"
                         "</Settings>\n");
    config.setRecordConfSaved(false);
    SaveCounter saves(resFolder(), "config.xml");
    config.resetUserRecordSettings();
    EXPECT_EQ(saves.take(), 1);
    EXPECT_TRUE(config.getRecordConfSaved());
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", "Avi"));
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "English");
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    EXPECT_FALSE(config.isUserRecordingDefined());
    EXPECT_EQ(config.getAviUserReplayFrameRate(), 0);
    EXPECT_EQ(config.getAviUserMaxSize(), 0);
    EXPECT_EQ(config.getAviUserFrameRate(), 0);
    EXPECT_EQ(config.getAviUserLength(), 0);
}

TEST_F(ConfigRecording, ResetSavesEvenWithNothingToRemove) {
    Config& config = use(oneCamera());
    config.setRecordConfSaved(false);
    SaveCounter saves(resFolder(), "config.xml");
    config.resetUserRecordSettings();
    EXPECT_EQ(saves.take(), 1);
    EXPECT_TRUE(config.getRecordConfSaved());
    EXPECT_EQ(valueIn(configPath(), {"CameraSettings", kCamera, "Gamma"}), "160");
}

TEST_F(ConfigRecording, AnyAviUserElementDefinesTheRecording) {
    Config& config = use(document(camera(kCamera, factoryElements()), "  <AviUserSomething>1</AviUserSomething>\n"));
    EXPECT_TRUE(config.isUserRecordingDefined());
    config.resetUserRecordSettings();
    EXPECT_FALSE(config.isUserRecordingDefined());
}

}  // namespace
}  // namespace configtest
