// Every accessor of the store, one table row per element: factory values,
// the user preset and the recording settings; read, missing, unknown camera,
// written and read back.
#include "ConfigElements.h"
#include "ConfigTestSupport.h"
#include "ueye.h"

#include <gmock/gmock.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>

namespace configtest {
namespace {

using namespace configelements;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::string kLanguage = "  <Language>English</Language>\n";

// The values factoryElements() writes, in the order of kFactory.
const double kFactoryValues[] = {7, 11, 12, 13, 0, 100, 12.5, 30, 160, 1, 5, IS_CM_RGB8_PACKED, 1};

std::vector<std::string> factoryNames(std::initializer_list<std::string> added = {}) {
    std::vector<std::string> names;
    for (const Factory& f : kFactory) names.push_back(f.name);
    names.insert(names.end(), added);
    return names;
}

class ConfigAccessor : public ConfigTest {};

TEST_F(ConfigAccessor, FactoryValuesAreReadPerCameraAndEachMissingOneFailsAlone) {
    Config& config = use(oneCamera());
    for (size_t i = 0; i < std::size(kFactory); ++i) {
        EXPECT_EQ(kFactory[i].read(config, kCamera), kFactoryValues[i]) << kFactory[i].name;
        EXPECT_MSG64(kFactory[i].read(config, "SIM9999-C"));
        EXPECT_MSG64(kFactory[i].read(config, "cam-1"));  // names are case-sensitive
    }
    for (const Factory& missing : kFactory) {
        SCOPED_TRACE(missing.name);
        const bool boolean = missing.name == std::string("AutoGain") || missing.name == std::string("BLEnable");
        use(document(camera(kCamera, factoryWithout(missing.name)) +
                     camera("OTHER", element(missing.name, boolean ? "true" : "77"))));
        SaveCounter saves(resFolder(), "config.xml");
        EXPECT_MSG64(missing.read(*Config::getInstance(), kCamera));
        EXPECT_EQ(missing.read(*Config::getInstance(), "OTHER"), boolean ? 1 : 77);
        for (const Factory& other : kFactory)
            if (&other != &missing) {
                EXPECT_NO_THROW(other.read(*Config::getInstance(), kCamera)) << other.name;
            }
        EXPECT_EQ(saves.take(), 0);  // reading writes nothing
    }
    use("<Settings>\n" + camera(kCamera, factoryElements()) + "</Settings>\n");
    EXPECT_MSG64(config.getRedGain(kCamera));  // outside CameraSettings
}

// The same text in a factory, a user and a recording element of each kind.
struct NumberText {
    const char* text;
    std::optional<double> whole, real;  // nullopt: refused
    long recording;                     // what the parse leaves
};

const NumberText kNumberTexts[] = {
    {"-12", -12, -12, -12},
    {"0129", 129, 129, 129},
    {" 12", 12, 12, 12},
    {"12 ", {}, {}, 12},
    {"12.5", {}, 12.5, 12},
    {"100x", {}, {}, 100},
    {"12.5ms", {}, {}, 12},
    {"12,5", {}, {}, 12},
    {"0x81", {}, 129, 0},
    {"", {}, {}, 0},
    {"seven", {}, {}, 0},
    {"9223372036854775807", 9223372036854775807.0, 9223372036854775807.0, LONG_MAX},
    {"-9223372036854775808", -9223372036854775808.0, -9223372036854775808.0, LONG_MIN},
    {"99999999999999999999", {}, 1e20, 0},
    {"1e999", {}, {}, 1},
};

TEST_F(ConfigAccessor, NumberTextsAreDecimalAndWhole) {
    for (const NumberText& row : kNumberTexts) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        const std::string t = row.text;
        Config& config = use(document(camera(kCamera, element("Gamma", t) + element("Exposure", t) +
                                                          element("UserBrightness", t) + element("UserExposure", t)),
                                      "  <AviUserLength>" + t + "</AviUserLength>\n"));
        double user = -1;
        if (row.whole) {
            EXPECT_EQ(config.getGamma(kCamera), *row.whole);
            EXPECT_TRUE(kUser[5].read(config, kCamera, user));
            EXPECT_EQ(user, *row.whole);
        } else {
            EXPECT_MSG64(config.getGamma(kCamera));
            EXPECT_FALSE(kUser[5].read(config, kCamera, user));
            EXPECT_EQ(user, -1);
        }
        user = -1;
        if (row.real) {
            EXPECT_EQ(config.getExposure(kCamera), *row.real);
            EXPECT_TRUE(kUser[6].read(config, kCamera, user));
            EXPECT_EQ(user, *row.real);
        } else {
            EXPECT_MSG64(config.getExposure(kCamera));
            EXPECT_FALSE(kUser[6].read(config, kCamera, user));
            EXPECT_EQ(user, -1);
        }
        EXPECT_EQ(config.getAviUserLength(), row.recording);
    }
}

// AutoGain decides whether the master gain is read at all; booleans are what castBoolean says.
struct AutoGainCase {
    const char* autoGain;  // nullptr: no element
    const char* master;    // nullptr: no element
    std::optional<long> masterGain;
    std::optional<bool> autoGainValue;
};

const AutoGainCase kAutoGain[] = {
    {"true", "not a number", -1, true}, {"TRUE", "7", -1, true},       {"tRuE", "7", -1, true},  {"1", "7", 7, true},
    {"false", "7", 7, false},           {"truely", "7", 7, false},     {"", "7", 7, false},      {nullptr, "7", 7, {}},
    {"true", nullptr, {}, true},        {"false", "seven", {}, false}, {"maybe", "", {}, false},
};

TEST_F(ConfigAccessor, AutoGainOnMakesMasterGainMinusOne) {
    for (const AutoGainCase& row : kAutoGain) {
        SCOPED_TRACE(std::string(row.autoGain ? row.autoGain : "(none)") + " / " +
                     (row.master ? row.master : "(none)"));
        std::string body = row.master ? element("MasterGain", row.master) : "";
        if (row.autoGain) body += element("AutoGain", row.autoGain) + element("BLEnable", row.autoGain);
        Config& config = use(document(camera(kCamera, body)));
        if (row.masterGain)
            EXPECT_EQ(config.getMasterGain(kCamera), *row.masterGain);
        else
            EXPECT_MSG64(config.getMasterGain(kCamera));
        if (row.autoGainValue) {
            EXPECT_EQ(config.getAutoGain(kCamera), *row.autoGainValue);
            EXPECT_EQ(config.getBLEnable(kCamera), *row.autoGainValue);
        } else {
            EXPECT_MSG64(config.getAutoGain(kCamera));
        }
    }
}

// A value per user element that its text form gives back exactly.
double sample(const User& u) {
    const std::string name = u.name;
    if (name == "UserAutoGain") return 1;
    if (name == "UserExposure") return 8.25;
    if (name == "UserFramerate") return 24.5;
    return 20 + (&u - kUser);
}

std::string sampleText(const User& u) {
    if (u.name == std::string("UserAutoGain")) return "true";
    std::ostringstream text;
    text << sample(u);
    return text.str();
}

std::string userElements(const User& u, const std::string& text) {
    if (u.name != std::string("UserWidth")) return element(u.name, text);
    return element("UserWidth", text) +
           element("UserHeight", text == "lots" ? text : std::to_string(2 * int(sample(u))));
}

TEST_F(ConfigAccessor, EachUserElementIsReadAloneAndOnlyUserMasterGainMakesAPreset) {
    Config& config = use(oneCamera());
    EXPECT_FALSE(config.isUserDefined(kCamera));
    for (const User& u : kUser) {
        double value = -1;
        EXPECT_FALSE(u.read(config, kCamera, value)) << u.name;
        EXPECT_EQ(value, -1);
    }
    for (const User& present : kUser) {
        SCOPED_TRACE(present.name);
        use(oneCamera(userElements(present, sampleText(present))));
        EXPECT_EQ(config.isUserDefined(kCamera), &present == &kUser[0]);
        for (const User& u : kUser) {
            double value = -1;
            EXPECT_EQ(u.read(config, kCamera, value), &u == &present) << u.name;
            EXPECT_EQ(value, &u == &present ? sample(u) : -1) << u.name;
        }
        // Present but unreadable: false, the value untouched; a preset still.
        use(oneCamera(userElements(present, "lots")));
        double value = -1;
        EXPECT_EQ(present.read(config, kCamera, value), present.name == std::string("UserAutoGain"));
        EXPECT_EQ(config.isUserDefined(kCamera), &present == &kUser[0]);
    }
    use(oneCamera(element("UserMasterGainX", "1") + element("userMasterGain", "1")));
    EXPECT_FALSE(config.isUserDefined(kCamera));
}

TEST_F(ConfigAccessor, EachUserSetterAppendsOnceThenChangesInPlaceAndTouchesNoOtherCamera) {
    for (const User& u : kUser) {
        SCOPED_TRACE(u.name);
        const bool sizes = u.name == std::string("UserWidth");
        Config& config = use(document(camera(kCamera, factoryElements()) + camera("B", factoryElements())));
        config.setConfSaved(false);
        SaveCounter saves(resFolder(), "config.xml");
        u.write(config, kCamera, sample(u));
        EXPECT_EQ(saves.take(), 1);
        const std::vector<std::string> names =
            sizes ? factoryNames({"UserWidth", "UserHeight"}) : factoryNames({u.name});
        EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}), ElementsAreArray(names));
        EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", "B"}), ElementsAreArray(factoryNames()));
        EXPECT_EQ(valueIn(configPath(), {"CameraSettings", kCamera, u.name}), sampleText(u));

        const std::string before = fileText();
        u.write(config, kCamera, u.name == std::string("UserAutoGain") ? 0 : sample(u) + 2);
        EXPECT_EQ(saves.take(), 1);
        EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}), ElementsAreArray(names));
        const LineDiff diff = diffLines(before, fileText());
        EXPECT_EQ(diff.removed.size(), sizes ? 2u : 1u);
        EXPECT_EQ(diff.added.size(), sizes ? 2u : 1u);
        config.load();
        double value = -1;
        EXPECT_TRUE(u.read(config, kCamera, value));
        EXPECT_EQ(value, u.name == std::string("UserAutoGain") ? 0 : sample(u) + 2);
        EXPECT_FALSE(config.getConfSaved());  // the store never touches the camera's flag
    }
}

TEST_F(ConfigAccessor, UserValuesBeyondIntAreClampedAndRealsReadBackExactly) {
    Config& config = use(oneCamera());
    const std::string path = configPath();
    config.setUserMasterGain(kCamera, 5000000000L);
    EXPECT_EQ(valueIn(path, {"CameraSettings", kCamera, "UserMasterGain"}), std::to_string(INT_MAX));
    config.setUserBrightness(kCamera, -5000000000L);
    EXPECT_EQ(valueIn(path, {"CameraSettings", kCamera, "UserBrightness"}), std::to_string(INT_MIN));
    config.setUserBlueGain(kCamera, -7);
    EXPECT_EQ(valueIn(path, {"CameraSettings", kCamera, "UserBlueGain"}), "-7");
    for (double exposure : {0.1, 1.0 / 3.0, 33.333333333333336, 1e-7, 40.0}) {
        config.setUserExposure(kCamera, exposure);
        config.load();
        double read = 0;
        ASSERT_TRUE(config.getUserExposure(kCamera, read));
        EXPECT_EQ(read, exposure);
    }
}

// The width is kept even when the height then fails.
struct SizesCase {
    const char *width, *height;
    bool ok;
    int readWidth, readHeight;
};

const SizesCase kSizes[] = {
    {"800", nullptr, false, 800, 4}, {"800", "tall", false, 800, 4},
    {"wide", "600", false, 3, 4},    {"3000000000", "-3000000000", true, INT_MAX, INT_MIN},
    {"640", "480", true, 640, 480},
};

TEST_F(ConfigAccessor, UserSizesNeedBothValues) {
    for (const SizesCase& row : kSizes) {
        Config& config =
            use(oneCamera(element("UserWidth", row.width) + (row.height ? element("UserHeight", row.height) : "")));
        int width = 3, height = 4;
        EXPECT_EQ(config.getUserSizes(kCamera, width, height), row.ok) << row.width;
        EXPECT_EQ(width, row.readWidth) << row.width;
        EXPECT_EQ(height, row.readHeight) << row.width;
    }
}

TEST_F(ConfigAccessor, ClearRemovesEveryUserElementOfItsCameraAndSaves) {
    const std::string body = element("UserWidth", "320") + factoryElements() + element("UserMasterGain", "1") +
                             element("MyUserGain", "1") + element("user", "2") + element("UserNote", "x");
    Config& config = use(document(camera(kCamera, body) + camera("OTHER", element("UserMasterGain", "4"))));
    SaveCounter saves(resFolder(), "config.xml");
    EXPECT_TRUE(config.clearUserSettings(kCamera));
    EXPECT_EQ(saves.take(), 1);
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings", kCamera}),
                ElementsAreArray(factoryNames({"MyUserGain", "user"})));
    EXPECT_FALSE(config.isUserDefined(kCamera));
    EXPECT_TRUE(config.isUserDefined("OTHER"));
    EXPECT_TRUE(config.clearUserSettings(kCamera));  // nothing left to remove, saved all the same
    EXPECT_EQ(saves.take(), 1);
}

TEST_F(ConfigAccessor, UnknownCameraIsMessage64ForEveryUserAccessorAndChangesNothing) {
    Config& config = use(oneCamera());
    const std::string before = fileText();
    SaveCounter saves(resFolder(), "config.xml");
    for (const char* name : {"GHOST", "CAM\xff-1", "\xc3"}) {
        double value = 0;
        for (const User& u : kUser) {
            EXPECT_MSG64(u.read(config, name, value)) << u.name;
            EXPECT_MSG64(u.write(config, name, 1)) << u.name;
        }
        EXPECT_MSG64(config.isUserDefined(name));
        EXPECT_MSG64(config.clearUserSettings(name));
    }
    EXPECT_EQ(saves.take(), 0);
    EXPECT_EQ(fileText(), before);
    config.setLanguage("English");  // no camera element was made in memory either
    EXPECT_THAT(childrenIn(configPath(), {"CameraSettings"}), ElementsAre(kCamera));
}

TEST_F(ConfigAccessor, EachRecordingSettingIsReadFromTheRootAndAppendedThere) {
    for (const Recording& r : kRecording) {
        SCOPED_TRACE(r.name);
        Config& config = use(document(camera(kCamera, factoryElements() + element(r.name, "5")), kLanguage));
        EXPECT_EQ((config.*r.read)(), 0);  // inside a camera it does not count
        EXPECT_FALSE(config.isUserRecordingDefined());
        config.setRecordConfSaved(false);
        SaveCounter saves(resFolder(), "config.xml");
        (config.*r.write)(512);
        EXPECT_EQ(saves.take(), 1);
        EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", r.name));
        (config.*r.write)(-25);
        EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", r.name));
        EXPECT_EQ(valueIn(configPath(), {r.name}), "-25");
        config.load();
        EXPECT_TRUE(config.isUserRecordingDefined());
        for (const Recording& other : kRecording)
            EXPECT_EQ((config.*other.read)(), &other == &r ? -25 : 0) << other.name;
        EXPECT_FALSE(config.getRecordConfSaved());  // the setters alone leave the flag
    }
}

struct SaveCase {
    double length, frameRate, maxSize;
    long replay;
    long stored[4];  // length, frame rate, size, replay rate
};

const double kInf = std::numeric_limits<double>::infinity();
const SaveCase kSaves[] = {
    {10.9, 25.5, 100.0, 12, {10, 25, 100, 12}},
    {-2.9, 0.99, -0.5, -3, {-2, 0, 0, -3}},
    {1e300, -kInf, std::nan(""), LONG_MAX, {INT_MAX, INT_MIN, 0, INT_MAX}},
    {3e9, -3e9, 9.3e18, LONG_MIN, {INT_MAX, INT_MIN, INT_MAX, INT_MIN}},
};

TEST_F(ConfigAccessor, SaveRecordSettingsTruncatesClampsStoresInOrderAndSetsTheFlag) {
    for (const SaveCase& row : kSaves) {
        SCOPED_TRACE(row.length);
        Config& config = use(document(camera(kCamera, factoryElements()), kLanguage));
        config.setRecordConfSaved(false);
        SaveCounter saves(resFolder(), "config.xml");
        config.saveUserRecordSettings(row.length, row.frameRate, row.maxSize, row.replay);
        EXPECT_EQ(saves.take(), 4);
        EXPECT_TRUE(config.getRecordConfSaved());
        EXPECT_THAT(childrenIn(configPath(), {}),
                    ElementsAre("CameraSettings", "Language", "AviUserLength", "AviUserFrameRate", "AviUserMaxSize",
                                "AviUserReplayFrameRate"));
        for (size_t i = 0; i < std::size(kRecording); ++i) {
            const auto& setting = kRecording[i];
            const long read = (config.*setting.read)();
            EXPECT_EQ(valueIn(configPath(), {setting.name}), std::to_string(row.stored[i]));
            EXPECT_EQ(read, row.stored[i]);
        }
    }
}

TEST_F(ConfigAccessor, FailedRecordSaveStopsAtTheFirstValueAndKeepsTheFlag) {
    Config& config = use(oneCamera());
    config.setRecordConfSaved(false);
    std::filesystem::remove_all(resFolder());
    EXPECT_THROW(config.saveUserRecordSettings(10, 25, 100, 12), Qel::Exception);
    EXPECT_FALSE(config.getRecordConfSaved());
    for (const Recording& r : kRecording) EXPECT_EQ((config.*r.read)(), r.read == kRecording[0].read ? 10 : 0);
}

TEST_F(ConfigAccessor, ResetRemovesEveryAviUserElementSavesAndSetsTheFlag) {
    Config& config =
        use("<Settings>\n  <AviUserLength>60</AviUserLength>\n  <CameraSettings>\n" +
            camera(kCamera, factoryElements()) + "  </CameraSettings>\n  <AviUserMaxSize>5</AviUserMaxSize>\n" +
            kLanguage + "  <AviUserSomething>1</AviUserSomething>\n  <Avi>keep</Avi>\n</Settings>\n");
    EXPECT_TRUE(config.isUserRecordingDefined());
    for (int round = 0; round < 2; ++round) {  // the second has nothing to remove and still saves
        config.setRecordConfSaved(false);
        SaveCounter saves(resFolder(), "config.xml");
        config.resetUserRecordSettings();
        EXPECT_EQ(saves.take(), 1);
        EXPECT_TRUE(config.getRecordConfSaved());
        EXPECT_THAT(childrenIn(configPath(), {}), ElementsAre("CameraSettings", "Language", "Avi"));
        EXPECT_FALSE(config.isUserRecordingDefined());
        for (const Recording& r : kRecording) EXPECT_EQ((config.*r.read)(), 0);
    }
    EXPECT_EQ(config.getRedGain(kCamera), 11);
}

}  // namespace
}  // namespace configtest
