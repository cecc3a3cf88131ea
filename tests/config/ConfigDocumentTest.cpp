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

const std::string kNoLanguage = oneCamera();

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
            std::_Exit(empty ? 0 : 1);  // wx stays initialised here: no exit handlers
        },
        ::testing::ExitedWithCode(0), "");
}

class ConfigDocument : public ConfigTest {};

TEST_F(ConfigDocument, LoadReadsTheFileAsItIsNowAndDropsChangesMadeOnlyInMemory) {
    Config& config = use(kNoLanguage);
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    EXPECT_EQ(config.getLanguage(), "French");  // added in memory only
    app_->writeConfig(oneCamera(element("UserMasterGain", "3")));
    EXPECT_FALSE(config.isUserDefined(kCamera));
    config.load();
    EXPECT_TRUE(config.isUserDefined(kCamera));
    config.setAviUserLength(5);
    // A load that kept the old document would have saved the language too.
    EXPECT_THAT(fileText(), Not(HasSubstr("Language")));
}

TEST_F(ConfigDocument, AFileTheHelperLibraryRefusesFailsToLoadAndKeepsTheDocument) {
    Config& config = use(oneCamera());
    for (const std::string& bad :
         {std::string(), std::string("\x00\x01\x02", 3), std::string("<a><b></a>"), std::string("just text"),
          std::string("<Settings><CameraSettings></Settings>"), std::string("<?xml version=\"1.0\"?>")}) {
        app_->writeConfig(bad);
        EXPECT_THROW(config.load(), Qel::Exception);
        EXPECT_EQ(config.getRedGain(kCamera), 11);  // the document as it was
        EXPECT_EQ(fileText(), bad);
    }
    std::filesystem::remove(configPath());
    EXPECT_THROW(config.load(), Qel::Exception);
    EXPECT_EQ(config.getGamma(kCamera), 160);
    EXPECT_FALSE(testsupport::fileExists(configPath()));  // not created either
}

TEST_F(ConfigDocument, FlagsAreKeptAcrossLoadsAndNoStoreOperationTouchesTheCameraFlag) {
    Config& config = use(oneCamera());
    config.setConfSaved(false);
    config.setRecordConfSaved(false);
    config.load();
    config.setLanguage("English");
    config.clearUserSettings(kCamera);
    config.saveUserRecordSettings(1, 2, 3, 4);
    config.resetUserRecordSettings();
    EXPECT_FALSE(config.getConfSaved());
    EXPECT_TRUE(config.getRecordConfSaved());
    config.setConfSaved(true);
    config.setRecordConfSaved(false);
    config.load();
    EXPECT_TRUE(config.getConfSaved());
    EXPECT_FALSE(config.getRecordConfSaved());
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

TEST_F(ConfigDocument, MissingLanguageIsFrenchAndStoredByTheNextWriteOnly) {
    Config& config = use(kNoLanguage);
    SaveCounter saves(resFolder(), "config.xml");
    EXPECT_EQ(config.getLanguage(), "French");
    EXPECT_EQ(config.getLanguage(), "French");
    EXPECT_EQ(saves.take(), 0);
    EXPECT_EQ(fileText(), kNoLanguage);
    config.setAviUserMaxSize(9);
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", "AviUserMaxSize"));
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "French");

    use(kNoLanguage);
    SaveCounter again(resFolder(), "config.xml");
    config.setLanguage("English");
    EXPECT_EQ(again.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language"));
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "English");
}

TEST_F(ConfigDocument, SetLanguageChangesTheElementInPlace) {
    Config& config = use(document(camera(kCamera, factoryElements()), "  <Language>Deutsch</Language>\n"));
    EXPECT_EQ(config.getLanguage(), "Deutsch");
    const std::string before = fileText();
    config.setLanguage("Español");
    const LineDiff diff = diffLines(before, fileText());
    EXPECT_THAT(diff.removed, ElementsAre("  <Language>Deutsch</Language>"));
    EXPECT_THAT(diff.added, ElementsAre("  <Language>Español</Language>"));
    config.load();
    EXPECT_EQ(config.getLanguage(), "Español");
}

TEST_F(ConfigDocument, FileWithoutCamerasStillServesTheRestAndRefusesEveryCamera) {
    for (const char* xml : {"<Settings>\n  <Language>English</Language>\n</Settings>\n",
                            "<Settings><CameraSettings>SIM1280-C</CameraSettings></Settings>"}) {
        Config& config = use(xml);
        const std::string before = fileText();
        EXPECT_MSG64(config.getMasterGain("SIM1280-C"));
        EXPECT_MSG64(config.isUserDefined("SIM1280-C"));
        EXPECT_MSG64(config.setUserMasterGain("SIM1280-C", 1));
        EXPECT_MSG64(config.clearUserSettings("SIM1280-C"));
        EXPECT_EQ(fileText(), before);
        config.saveUserRecordSettings(10, 25, 100, 12);
        EXPECT_EQ(config.getAviUserLength(), 10);
        config.setLanguage("Italiano");
        config.load();
        EXPECT_EQ(config.getLanguage(), "Italiano");
    }
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

}  // namespace
}  // namespace configtest
