// The user preset of a camera: tested for, read, written and cleared.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

#include <climits>

namespace configtest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

const std::vector<std::string> kFactoryNames = {"MasterGain", "RedGain",    "GreenGain", "BlueGain", "AutoGain",
                                                "Brightness", "Exposure",   "Clock",     "Gamma",    "BLEnable",
                                                "BlackLevel", "ColorMode", "ColorCorrection"};

std::vector<std::string> factoryThen(std::initializer_list<std::string> added) {
    std::vector<std::string> names = kFactoryNames;
    names.insert(names.end(), added);
    return names;
}

const std::string kFullPreset = element("UserRedGain", "21") + element("UserGreenGain", "22") +
                                element("UserBlueGain", "23") + element("UserAutoGain", "true") +
                                element("UserBrightness", "124") + element("UserExposure", "8.25") +
                                element("UserFramerate", "24.5") + element("UserWidth", "640") +
                                element("UserHeight", "480");

class ConfigUser : public ConfigTest {};

TEST_F(ConfigUser, NoPresetMeansEveryGetterFalseAndReferencesUntouched) {
    Config& config = use(oneCamera());
    EXPECT_FALSE(config.isUserDefined(kCamera));
    long whole = 99;
    bool flag = true;
    double real = 9.5;
    int width = 1, height = 2;
    EXPECT_FALSE(config.getUserMasterGain(kCamera, whole));
    EXPECT_FALSE(config.getUserRedGain(kCamera, whole));
    EXPECT_FALSE(config.getUserGreenGain(kCamera, whole));
    EXPECT_FALSE(config.getUserBlueGain(kCamera, whole));
    EXPECT_FALSE(config.getUserAutoGain(kCamera, flag));
    EXPECT_FALSE(config.getUserBrightness(kCamera, whole));
    EXPECT_FALSE(config.getUserExposure(kCamera, real));
    EXPECT_FALSE(config.getUserFramerate(kCamera, real));
    EXPECT_FALSE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(whole, 99);
    EXPECT_TRUE(flag);
    EXPECT_EQ(real, 9.5);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 2);
}

TEST_F(ConfigUser, EveryElementButMasterGainIsNoPresetThoughReadable) {
    Config& config = use(oneCamera(kFullPreset));
    EXPECT_FALSE(config.isUserDefined(kCamera));
    long value = 0;
    EXPECT_TRUE(config.getUserRedGain(kCamera, value));
    EXPECT_EQ(value, 21);
    EXPECT_TRUE(config.getUserGreenGain(kCamera, value));
    EXPECT_EQ(value, 22);
    EXPECT_TRUE(config.getUserBlueGain(kCamera, value));
    EXPECT_EQ(value, 23);
    EXPECT_TRUE(config.getUserBrightness(kCamera, value));
    EXPECT_EQ(value, 124);
    bool autoGain = false;
    EXPECT_TRUE(config.getUserAutoGain(kCamera, autoGain));
    EXPECT_TRUE(autoGain);
    double real = 0;
    EXPECT_TRUE(config.getUserExposure(kCamera, real));
    EXPECT_DOUBLE_EQ(real, 8.25);
    EXPECT_TRUE(config.getUserFramerate(kCamera, real));
    EXPECT_DOUBLE_EQ(real, 24.5);
    int width = 0, height = 0;
    EXPECT_TRUE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_FALSE(config.getUserMasterGain(kCamera, value));
}

TEST_F(ConfigUser, MasterGainAloneIsAPreset) {
    Config& config = use(oneCamera(element("UserMasterGain", "17")));
    EXPECT_TRUE(config.isUserDefined(kCamera));
    long value = 0;
    EXPECT_TRUE(config.getUserMasterGain(kCamera, value));
    EXPECT_EQ(value, 17);
    EXPECT_FALSE(config.getUserRedGain(kCamera, value));
    bool flag = false;
    EXPECT_FALSE(config.getUserAutoGain(kCamera, flag));
    double real = 0;
    EXPECT_FALSE(config.getUserExposure(kCamera, real));
    int width = 0, height = 0;
    EXPECT_FALSE(config.getUserSizes(kCamera, width, height));
}

TEST_F(ConfigUser, UnreadableMasterGainStillMarksThePreset) {
    Config& config = use(oneCamera(element("UserMasterGain", "lots")));
    EXPECT_TRUE(config.isUserDefined(kCamera));
    long value = 5;
    EXPECT_FALSE(config.getUserMasterGain(kCamera, value));
    EXPECT_EQ(value, 5);
}

TEST_F(ConfigUser, PresetElementNamesAreMatchedExactly) {
    Config& config = use(oneCamera(element("UserMasterGainX", "1") + element("userMasterGain", "1")));
    EXPECT_FALSE(config.isUserDefined(kCamera));
}

TEST_F(ConfigUser, UnparsableUserValuesAreFalseAndLeaveTheReference) {
    Config& config = use(oneCamera(element("UserRedGain", "2.5") + element("UserExposure", "fast") +
                                   element("UserFramerate", "") + element("UserBrightness", "12 ")));
    long whole = 8;
    double real = 1.5;
    EXPECT_FALSE(config.getUserRedGain(kCamera, whole));
    EXPECT_FALSE(config.getUserBrightness(kCamera, whole));
    EXPECT_EQ(whole, 8);
    EXPECT_FALSE(config.getUserExposure(kCamera, real));
    EXPECT_FALSE(config.getUserFramerate(kCamera, real));
    EXPECT_EQ(real, 1.5);
}

TEST_F(ConfigUser, WidthWithoutHeightGivesFalseAfterStoringTheWidth) {
    Config& config = use(oneCamera(element("UserWidth", "800")));
    int width = 0, height = 7;
    EXPECT_FALSE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 7);

    use(oneCamera(element("UserWidth", "800") + element("UserHeight", "tall")));
    width = 0;
    EXPECT_FALSE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 7);
}

TEST_F(ConfigUser, HeightWithoutUsableWidthStoresNothing) {
    Config& config = use(oneCamera(element("UserWidth", "wide") + element("UserHeight", "600")));
    int width = 3, height = 4;
    EXPECT_FALSE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 4);
}

TEST_F(ConfigUser, SizesBeyondIntAreClamped) {
    Config& config = use(oneCamera(element("UserWidth", "3000000000") + element("UserHeight", "-3000000000")));
    int width = 0, height = 0;
    EXPECT_TRUE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(width, INT_MAX);
    EXPECT_EQ(height, INT_MIN);
}

TEST_F(ConfigUser, SetterAppendsTheElementLastAndSavesThenChangesItInPlace) {
    Config& config = use(oneCamera());
    SaveCounter saves(resFolder(), "config.xml");
    config.setUserRedGain(kCamera, 42);
    EXPECT_EQ(saves.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}), ElementsAreArray(factoryThen({"UserRedGain"})));
    EXPECT_EQ(valueIn(configPath(), {"CameraSettings", kCamera, "UserRedGain"}), "42");

    const std::string before = fileText();
    config.setUserRedGain(kCamera, 43);
    EXPECT_EQ(saves.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}), ElementsAreArray(factoryThen({"UserRedGain"})));
    const LineDiff diff = diffLines(before, fileText());
    ASSERT_EQ(diff.removed.size(), 1u);
    ASSERT_EQ(diff.added.size(), 1u);
    EXPECT_THAT(diff.removed[0], HasSubstr("<UserRedGain>42</UserRedGain>"));
    EXPECT_THAT(diff.added[0], HasSubstr("<UserRedGain>43</UserRedGain>"));
    long value = 0;
    EXPECT_TRUE(config.getUserRedGain(kCamera, value));
    EXPECT_EQ(value, 43);
}

TEST_F(ConfigUser, EverySetterWritesItsElementAndSavesOnce) {
    Config& config = use(oneCamera());
    const std::string path = configPath();
    SaveCounter saves(resFolder(), "config.xml");
    auto value = [&](const std::string& name) { return valueIn(path, {"CameraSettings", kCamera, name}); };

    config.setUserMasterGain(kCamera, 31);
    EXPECT_EQ(value("UserMasterGain"), "31");
    config.setUserGreenGain(kCamera, 32);
    EXPECT_EQ(value("UserGreenGain"), "32");
    config.setUserBlueGain(kCamera, 33);
    EXPECT_EQ(value("UserBlueGain"), "33");
    config.setUserBrightness(kCamera, 134);
    EXPECT_EQ(value("UserBrightness"), "134");
    config.setUserAutoGain(kCamera, true);
    EXPECT_EQ(value("UserAutoGain"), "true");
    config.setUserExposure(kCamera, 12.5);
    EXPECT_EQ(value("UserExposure"), "12.5");
    config.setUserFramerate(kCamera, 29.75);
    EXPECT_EQ(value("UserFramerate"), "29.75");
    EXPECT_EQ(saves.take(), 7);

    config.setUserSizes(kCamera, 1024, 768);
    EXPECT_EQ(saves.take(), 1);  // both sizes, one save
    EXPECT_EQ(value("UserWidth"), "1024");
    EXPECT_EQ(value("UserHeight"), "768");
    EXPECT_THAT(childrenIn(path, {"CameraSettings", kCamera}),
                ElementsAreArray(factoryThen({"UserMasterGain", "UserGreenGain", "UserBlueGain", "UserBrightness",
                                              "UserAutoGain", "UserExposure", "UserFramerate", "UserWidth",
                                              "UserHeight"})));

    // And it all reads back from the file.
    config.load();
    EXPECT_TRUE(config.isUserDefined(kCamera));
    double real = 0;
    EXPECT_TRUE(config.getUserFramerate(kCamera, real));
    EXPECT_DOUBLE_EQ(real, 29.75);
    int width = 0, height = 0;
    EXPECT_TRUE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
}

TEST_F(ConfigUser, AutoGainFalseIsWrittenAndReadBackAsPresent) {
    Config& config = use(oneCamera());
    config.setUserAutoGain(kCamera, false);
    EXPECT_EQ(valueIn(configPath(), {"CameraSettings", kCamera, "UserAutoGain"}), "false");
    bool value = true;
    EXPECT_TRUE(config.getUserAutoGain(kCamera, value));
    EXPECT_EQ(value, Qel::XML::XMLDoc::castBoolean("false"));
    EXPECT_FALSE(value);
}

TEST_F(ConfigUser, WholeNumbersBeyondIntAreClampedWhenWritten) {
    Config& config = use(oneCamera());
    config.setUserMasterGain(kCamera, 5000000000L);
    EXPECT_EQ(valueIn(configPath(), {"CameraSettings", kCamera, "UserMasterGain"}), std::to_string(INT_MAX));
    config.setUserBrightness(kCamera, -5000000000L);
    EXPECT_EQ(valueIn(configPath(), {"CameraSettings", kCamera, "UserBrightness"}), std::to_string(INT_MIN));
    config.setUserBlueGain(kCamera, -7);
    EXPECT_EQ(valueIn(configPath(), {"CameraSettings", kCamera, "UserBlueGain"}), "-7");
}

TEST_F(ConfigUser, RealNumbersReadBackExactly) {
    Config& config = use(oneCamera());
    for (double exposure : {0.1, 1.0 / 3.0, 33.333333333333336, 1e-7, 40.0}) {
        config.setUserExposure(kCamera, exposure);
        config.load();
        double read = 0;
        ASSERT_TRUE(config.getUserExposure(kCamera, read));
        EXPECT_EQ(read, exposure);
    }
}

TEST_F(ConfigUser, SettersWriteOnlyTheirOwnCamera) {
    Config& config = use(document(camera("A", factoryElements()) + camera("B", factoryElements())));
    config.setUserMasterGain("B", 9);
    EXPECT_FALSE(config.isUserDefined("A"));
    EXPECT_TRUE(config.isUserDefined("B"));
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", "A"}), ElementsAreArray(kFactoryNames));
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", "B"}), ElementsAreArray(factoryThen({"UserMasterGain"})));
}

TEST_F(ConfigUser, ClearRemovesEveryUserElementIncludingAFirstChildAndSaves) {
    const std::string body = element("UserWidth", "320") + factoryElements() + element("UserMasterGain", "1") +
                             element("UserHeight", "240") + element("UserAutoGain", "true");
    Config& config = use(document(camera(kCamera, body) + camera("OTHER", element("UserMasterGain", "4"))));
    SaveCounter saves(resFolder(), "config.xml");
    EXPECT_TRUE(config.clearUserSettings(kCamera));
    EXPECT_EQ(saves.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}), ElementsAreArray(kFactoryNames));
    EXPECT_THAT(fileText(), ::testing::Not(HasSubstr("<UserWidth>")));
    EXPECT_FALSE(config.isUserDefined(kCamera));
    EXPECT_EQ(config.getMasterGain(kCamera), 7);
    // Another camera's preset stays.
    EXPECT_TRUE(config.isUserDefined("OTHER"));
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", "OTHER"}), ElementsAre("UserMasterGain"));
}

TEST_F(ConfigUser, ClearSavesEvenWithNothingToRemove) {
    Config& config = use(oneCamera());
    SaveCounter saves(resFolder(), "config.xml");
    EXPECT_TRUE(config.clearUserSettings(kCamera));
    EXPECT_EQ(saves.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}), ElementsAreArray(kFactoryNames));
}

TEST_F(ConfigUser, ClearRemovesNamesStartingWithUserOnly) {
    Config& config = use(oneCamera(element("UserNote", "x") + element("MyUserGain", "1") + element("user", "2")));
    config.clearUserSettings(kCamera);
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}), ElementsAreArray(factoryThen({"MyUserGain", "user"})));
}

TEST_F(ConfigUser, UnknownCameraIsMessage64EverywhereAndChangesNothing) {
    Config& config = use(oneCamera());
    const std::string before = fileText();
    SaveCounter saves(resFolder(), "config.xml");
    const hstring name = "GHOST";
    long whole = 0;
    bool flag = false;
    double real = 0;
    int width = 0, height = 0;
    EXPECT_MSG64(config.isUserDefined(name));
    EXPECT_MSG64(config.getUserMasterGain(name, whole));
    EXPECT_MSG64(config.getUserRedGain(name, whole));
    EXPECT_MSG64(config.getUserGreenGain(name, whole));
    EXPECT_MSG64(config.getUserBlueGain(name, whole));
    EXPECT_MSG64(config.getUserAutoGain(name, flag));
    EXPECT_MSG64(config.getUserBrightness(name, whole));
    EXPECT_MSG64(config.getUserExposure(name, real));
    EXPECT_MSG64(config.getUserFramerate(name, real));
    EXPECT_MSG64(config.getUserSizes(name, width, height));
    EXPECT_MSG64(config.setUserMasterGain(name, 1));
    EXPECT_MSG64(config.setUserRedGain(name, 1));
    EXPECT_MSG64(config.setUserGreenGain(name, 1));
    EXPECT_MSG64(config.setUserBlueGain(name, 1));
    EXPECT_MSG64(config.setUserAutoGain(name, true));
    EXPECT_MSG64(config.setUserBrightness(name, 1));
    EXPECT_MSG64(config.setUserExposure(name, 1.5));
    EXPECT_MSG64(config.setUserFramerate(name, 1.5));
    EXPECT_MSG64(config.setUserSizes(name, 1, 1));
    EXPECT_MSG64(config.clearUserSettings(name));
    EXPECT_EQ(saves.take(), 0);
    EXPECT_EQ(fileText(), before);
    // No camera element was created in memory either.
    config.setLanguage("English");
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings"}), ElementsAre(kCamera));
}

}  // namespace
}  // namespace configtest
