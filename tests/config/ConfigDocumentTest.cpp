// The instance, loading the file, the saved flags and the language.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <filesystem>

namespace configtest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kNoLanguage = document(camera(kCamera, factoryElements()));

TEST(ConfigInstance, GetInstanceAlwaysGivesTheSameObject) {
    Config* first = Config::getInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, Config::getInstance());
}

// Run in a fresh process so that this really is the first getInstance.
TEST(ConfigInstanceDeathTest, FirstGetInstanceReadsNoFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testsupport::AppDir app("<not xml at all");
    EXPECT_EXIT(
        {
            Config* config = Config::getInstance();
            // An empty document: no camera, no language read from anywhere.
            const bool empty = throwsMessage64([&] { config->getRedGain("SIM1280-C"); }) &&
                               config->getLanguage() == "French" && config->getAviUserLength() == 0 &&
                               config->getConfSaved() && config->getRecordConfSaved();
            std::exit(empty ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

class ConfigDocument : public ConfigTest {};

TEST_F(ConfigDocument, LoadReadsTheFileOfTheApplicationFolder) {
    Config& config = use(oneCamera());
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    use(document(camera(kCamera, element("RedGain", "44"))));
    EXPECT_EQ(config.getRedGain(kCamera), 44);
}

TEST_F(ConfigDocument, LoadAgainDropsChangesMadeOnlyInMemory) {
    Config& config = use(kNoLanguage);
    EXPECT_EQ(config.getLanguage(), "French");  // added in memory only
    config.load();
    config.setAviUserLength(5);
    // A load that kept the old document would have saved the language too.
    EXPECT_THAT(fileText(), Not(HasSubstr("Language")));
    EXPECT_EQ(valueIn(configPath(), {"AviUserLength"}), "5");
}

TEST_F(ConfigDocument, LoadAgainSeesTheFileChangedOnDisk) {
    Config& config = use(oneCamera());
    app_->writeConfig(oneCamera(element("UserMasterGain", "3")));
    EXPECT_FALSE(config.isUserDefined(kCamera));
    config.load();
    EXPECT_TRUE(config.isUserDefined(kCamera));
}

TEST_F(ConfigDocument, MissingFileFailsToLoadAndKeepsTheDocument) {
    Config& config = use(oneCamera());
    std::filesystem::remove(configPath());
    EXPECT_THROW(config.load(), Qel::Exception);
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    EXPECT_FALSE(testsupport::fileExists(configPath()));  // not created either
}

TEST_F(ConfigDocument, MalformedFileFailsToLoadAndKeepsTheDocument) {
    Config& config = use(oneCamera());
    const std::string broken = "<Settings><CameraSettings></Settings>";
    app_->writeConfig(broken);
    EXPECT_THROW(config.load(), Qel::Exception);
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    EXPECT_EQ(fileText(), broken);
}

TEST_F(ConfigDocument, EmptyFileFailsToLoad) {
    Config& config = use(oneCamera());
    app_->writeConfig("");
    EXPECT_THROW(config.load(), Qel::Exception);
    EXPECT_EQ(config.getGamma(kCamera), 160);
}

TEST_F(ConfigDocument, FlagsAreSetAndReadAndSurviveLoad) {
    Config& config = use(oneCamera());
    config.setConfSaved(false);
    config.setRecordConfSaved(false);
    config.load();
    EXPECT_FALSE(config.getConfSaved());
    EXPECT_FALSE(config.getRecordConfSaved());
    config.setConfSaved(true);
    EXPECT_TRUE(config.getConfSaved());
    EXPECT_FALSE(config.getRecordConfSaved());
    config.setRecordConfSaved(true);
    config.load();
    EXPECT_TRUE(config.getConfSaved());
    EXPECT_TRUE(config.getRecordConfSaved());
}

TEST_F(ConfigDocument, NoWritingOperationTouchesTheCameraFlag) {
    Config& config = use(oneCamera());
    config.setConfSaved(false);
    config.setLanguage("English");
    config.setUserMasterGain(kCamera, 1);
    config.clearUserSettings(kCamera);
    config.saveUserRecordSettings(1, 2, 3, 4);
    config.resetUserRecordSettings();
    EXPECT_FALSE(config.getConfSaved());
}

TEST_F(ConfigDocument, CopiesCarryTheDocumentAndBothFlags) {
    Config& config = use(oneCamera());
    config.setConfSaved(false);
    config.setRecordConfSaved(true);
    Config copy(config);
    EXPECT_EQ(copy.getBlackLevel(kCamera), 5);
    EXPECT_FALSE(copy.getConfSaved());
    EXPECT_TRUE(copy.getRecordConfSaved());

    use(document(camera("OTHER", factoryElements())));
    config.setConfSaved(true);
    config.setRecordConfSaved(false);
    copy = config;
    EXPECT_EQ(copy.getBlackLevel("OTHER"), 5);
    EXPECT_MSG64(copy.getBlackLevel(kCamera));
    EXPECT_TRUE(copy.getConfSaved());
    EXPECT_FALSE(copy.getRecordConfSaved());
}

TEST_F(ConfigDocument, LanguageIsReadFromTheFile) {
    Config& config = use(document(camera(kCamera, factoryElements()), "  <Language>Deutsch</Language>\n"));
    EXPECT_EQ(config.getLanguage(), "Deutsch");
}

TEST_F(ConfigDocument, MissingLanguageIsFrenchWithoutWritingTheFile) {
    Config& config = use(kNoLanguage);
    SaveCounter saves(resFolder(), "config.xml");
    EXPECT_EQ(config.getLanguage(), "French");
    EXPECT_EQ(config.getLanguage(), "French");
    EXPECT_EQ(saves.take(), 0);
    EXPECT_EQ(fileText(), kNoLanguage);

    // The next writing operation stores it, once, as the last child of the root.
    config.setAviUserMaxSize(9);
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", "AviUserMaxSize"));
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "French");
}

TEST_F(ConfigDocument, SetLanguageAppendsTheElementAndSaves) {
    Config& config = use(kNoLanguage);
    SaveCounter saves(resFolder(), "config.xml");
    config.setLanguage("English");
    EXPECT_EQ(saves.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language"));
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "English");
    EXPECT_EQ(config.getLanguage(), "English");
}

TEST_F(ConfigDocument, SetLanguageChangesTheElementInPlace) {
    Config& config = use(document(camera(kCamera, factoryElements()), "  <Language>French</Language>\n"));
    const std::string before = fileText();
    config.setLanguage("Español");
    const LineDiff diff = diffLines(before, fileText());
    EXPECT_THAT(diff.removed, ElementsAre("  <Language>French</Language>"));
    EXPECT_THAT(diff.added, ElementsAre("  <Language>Español</Language>"));
    config.load();
    EXPECT_EQ(config.getLanguage(), "Español");
}

TEST_F(ConfigDocument, FileWithoutCameraSettingsStillServesTheRestAndRefusesEveryCamera) {
    Config& config = use("<Settings>\n  <Language>English</Language>\n</Settings>\n");
    EXPECT_EQ(config.getLanguage(), "English");
    config.setLanguage("Italiano");
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "Italiano");
    config.saveUserRecordSettings(10, 25, 100, 12);
    EXPECT_TRUE(config.isUserRecordingDefined());
    EXPECT_EQ(config.getAviUserLength(), 10);
    config.resetUserRecordSettings();
    EXPECT_FALSE(config.isUserRecordingDefined());

    const std::string before = fileText();
    EXPECT_MSG64(config.getMasterGain("SIM1280-C"));
    EXPECT_MSG64(config.getAutoGain("SIM1280-C"));
    EXPECT_MSG64(config.getExposure("SIM1280-C"));
    EXPECT_MSG64(config.isUserDefined("SIM1280-C"));
    EXPECT_MSG64(config.setUserMasterGain("SIM1280-C", 1));
    EXPECT_MSG64(config.clearUserSettings("SIM1280-C"));
    EXPECT_EQ(fileText(), before);
}

TEST_F(ConfigDocument, FailedSaveKeepsTheChangeInMemory) {
    Config& config = use(oneCamera());
    std::filesystem::remove_all(resFolder());
    EXPECT_THROW(config.setLanguage("English"), Qel::Exception);
    EXPECT_EQ(config.getLanguage(), "English");

    std::filesystem::create_directories(resFolder());
    config.setAviUserLength(3);
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "English");
    EXPECT_EQ(valueIn(configPath(), {"AviUserLength"}), "3");
}

TEST_F(ConfigDocument, MessageSixtyFourIsTheTableTextUnchanged) {
    Config& config = use(oneCamera());
    const hstring text = Qel::Strings::StringTable::get().getString("Nimbrel", 64);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, Qel::Strings::StringTable::get().getString("Nimbrel", 63));
    try {
        config.getClock("NO-SUCH-CAMERA");
        FAIL() << "no exception";
    } catch (const Qel::Exception& e) {
        EXPECT_EQ(e.getMessage(), text);
        EXPECT_EQ(e.getSeverity(), Qel::Exception::Error);
        EXPECT_EQ(static_cast<int>(e.getSeverity()), 10);
    }
}

}  // namespace
}  // namespace configtest
