// Files nobody should write but someone will: each gives a value, false, 0,
// message 64 or the helper library's load error, never a crash.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

#include <string>

namespace configtest {
namespace {

using ::testing::HasSubstr;

const std::string kHuge = "99999999999999999999";

class ConfigHostile : public ConfigTest {
protected:
    // Loads `xml`; false when the helper library refused it (then it must have thrown its exception).
    bool tryUse(const std::string& xml) {
        try {
            use(xml);
            return true;
        } catch (const Qel::Exception&) {
            return false;
        }
    }
};

TEST_F(ConfigHostile, HugeNumbers) {
    Config& config = use(document(camera(kCamera, element("MasterGain", kHuge) + element("AutoGain", "false") +
                                     element("Exposure", "1e999") + element("Clock", "-" + kHuge) +
                                     element("UserMasterGain", kHuge) + element("UserFramerate", "1e999")),
                                  "  <AviUserLength>" + kHuge + "</AviUserLength>\n"));
    EXPECT_MSG64(config.getMasterGain(kCamera));
    EXPECT_MSG64(config.getExposure(kCamera));
    EXPECT_MSG64(config.getClock(kCamera));
    long whole = 4;
    EXPECT_TRUE(config.isUserDefined(kCamera));
    EXPECT_FALSE(config.getUserMasterGain(kCamera, whole));
    EXPECT_EQ(whole, 4);
    double real = 2;
    EXPECT_FALSE(config.getUserFramerate(kCamera, real));
    EXPECT_EQ(config.getAviUserLength(), 0);
}

TEST_F(ConfigHostile, LargestWholeNumbersThatFitAreRead) {
    Config& config = use(document(camera(kCamera, element("Gamma", "9223372036854775807") +
                                                     element("BlackLevel", "-9223372036854775808"))));
    EXPECT_EQ(config.getGamma(kCamera), 9223372036854775807L);
    EXPECT_EQ(config.getBlackLevel(kCamera), -9223372036854775807L - 1);
}

TEST_F(ConfigHostile, EmptyElements) {
    Config& config = use(document(camera(kCamera, "      <MasterGain/><Exposure></Exposure><AutoGain/>\n"
                                                  "      <UserMasterGain/><UserAutoGain/><UserWidth/>\n"),
                                  "  <Language/>\n  <AviUserLength/>\n"));
    EXPECT_MSG64(config.getMasterGain(kCamera));
    EXPECT_MSG64(config.getExposure(kCamera));
    EXPECT_FALSE(config.getAutoGain(kCamera));
    EXPECT_TRUE(config.isUserDefined(kCamera));
    long whole = 1;
    EXPECT_FALSE(config.getUserMasterGain(kCamera, whole));
    bool flag = true;
    EXPECT_TRUE(config.getUserAutoGain(kCamera, flag));
    EXPECT_FALSE(flag);
    int width = 0, height = 0;
    EXPECT_FALSE(config.getUserSizes(kCamera, width, height));
    EXPECT_EQ(config.getLanguage(), "");
    EXPECT_EQ(config.getAviUserLength(), 0);
    EXPECT_TRUE(config.isUserRecordingDefined());
}

TEST_F(ConfigHostile, ChildrenWhereTextIsExpected) {
    Config& config = use(document(camera(kCamera, "      <RedGain><Value>5</Value></RedGain>\n"
                                                  "      <Exposure><ms>12.5</ms></Exposure>\n"
                                                  "      <UserRedGain><Value>5</Value></UserRedGain>\n"),
                                  "  <AviUserLength><Value>5</Value></AviUserLength>\n"));
    EXPECT_MSG64(config.getRedGain(kCamera));
    EXPECT_MSG64(config.getExposure(kCamera));
    long whole = 6;
    EXPECT_FALSE(config.getUserRedGain(kCamera, whole));
    EXPECT_EQ(whole, 6);
    EXPECT_EQ(config.getAviUserLength(), 0);

    // Writing keeps the children and the file stays readable.
    config.setUserRedGain(kCamera, 8);
    config.load();
    EXPECT_TRUE(config.getUserRedGain(kCamera, whole));
    EXPECT_EQ(whole, 8);
    EXPECT_THAT(fileText(), HasSubstr("<Value>5</Value>"));
}

TEST_F(ConfigHostile, CameraSettingsWithTextInsteadOfCameras) {
    Config& config = use("<Settings><CameraSettings>SIM1280-C</CameraSettings></Settings>");
    EXPECT_MSG64(config.getRedGain("SIM1280-C"));
    EXPECT_MSG64(config.clearUserSettings("SIM1280-C"));
}

TEST_F(ConfigHostile, ThousandsOfCameraElements) {
    std::string cameras;
    for (int i = 0; i < 5000; ++i) cameras += camera("CAM" + std::to_string(i), element("Gamma", std::to_string(i)));
    cameras += camera(kCamera, factoryElements());
    Config& config = use(document(cameras));
    EXPECT_EQ(config.getGamma("CAM4999"), 4999);
    EXPECT_EQ(config.getGamma(kCamera), 160);
    config.setUserMasterGain(kCamera, 1);
    config.setUserMasterGain("CAM2500", 2);
    config.load();
    EXPECT_EQ(childrenIn(configPath(), {"CameraSettings"}).size(), 5001u);
    long value = 0;
    EXPECT_TRUE(config.getUserMasterGain("CAM2500", value));
    EXPECT_EQ(value, 2);
    EXPECT_TRUE(config.isUserDefined(kCamera));
    EXPECT_FALSE(config.isUserDefined("CAM2499"));
}

TEST_F(ConfigHostile, ThousandsOfUserElementsAreAllCleared) {
    std::string users;
    for (int i = 0; i < 3000; ++i) users += element("User" + std::to_string(i), "1");
    Config& config = use(oneCamera(users + element("UserMasterGain", "1")));
    EXPECT_TRUE(config.isUserDefined(kCamera));
    config.clearUserSettings(kCamera);
    EXPECT_FALSE(config.isUserDefined(kCamera));
    EXPECT_EQ(childrenIn(configPath(), {"CameraSettings", kCamera}).size(), 13u);
}

TEST_F(ConfigHostile, DeepNesting) {
    const int depth = 5000;
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<d>";
        close += "</d>";
    }
    const std::string xml = document(camera(kCamera, factoryElements() + "      <Extra>" + open + close + "</Extra>\n" +
                                                         "      <Brightness2>" + open + "7" + close + "</Brightness2>\n"),
                                     "  <Deep>" + open + close + "</Deep>\n");
    if (!tryUse(xml)) return;  // refusing it is allowed
    Config& config = *Config::getInstance();
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    config.setUserMasterGain(kCamera, 5);
    config.clearUserSettings(kCamera);
    config.load();
    EXPECT_FALSE(config.isUserDefined(kCamera));
    EXPECT_EQ(config.getBrightness(kCamera), 100);
}

TEST_F(ConfigHostile, DeepNestingOfTheValueItself) {
    std::string open, close;
    for (int i = 0; i < 2000; ++i) {
        open += "<v>";
        close += "</v>";
    }
    if (!tryUse(document(camera(kCamera, "      <Gamma>" + open + "100" + close + "</Gamma>\n")))) return;
    EXPECT_MSG64(Config::getInstance()->getGamma(kCamera));
}

TEST_F(ConfigHostile, BytesThatAreNotUtf8) {
    const std::string xml = document(camera(kCamera, factoryElements() + element("UserExposure", "\xff\xfe" "12") +
                                                         element("UserNote", "caf\xe9")),
                                     "  <Language>Fran\xe7" "ais\x80</Language>\n");
    if (!tryUse(xml)) return;  // refusing it is allowed
    Config& config = *Config::getInstance();
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    double real = 3;
    EXPECT_FALSE(config.getUserExposure(kCamera, real));
    EXPECT_EQ(real, 3);
    config.getLanguage();  // any text, no crash
    config.setUserMasterGain(kCamera, 1);
    config.clearUserSettings(kCamera);
    EXPECT_NO_THROW(config.load());
    EXPECT_FALSE(config.isUserDefined(kCamera));
}

TEST_F(ConfigHostile, NonUtf8CameraNameIsJustAnotherUnknownCamera) {
    Config& config = use(oneCamera());
    EXPECT_MSG64(config.getRedGain("CAM\xff-1"));
    EXPECT_MSG64(config.setUserMasterGain("\xc3", 1));
}

TEST_F(ConfigHostile, EmptyRoot) {
    Config& config = use("<Settings/>");
    EXPECT_MSG64(config.getRedGain("SIM1280-C"));
    EXPECT_MSG64(config.isUserDefined("SIM1280-C"));
    EXPECT_FALSE(config.isUserRecordingDefined());
    EXPECT_EQ(config.getAviUserLength(), 0);
    EXPECT_EQ(config.getLanguage(), "French");
    config.setAviUserLength(4);
    config.resetUserRecordSettings();
    config.load();
    EXPECT_EQ(config.getLanguage(), "French");
    EXPECT_EQ(valueIn(configPath(), {"Language"}), "French");
    EXPECT_FALSE(config.isUserRecordingDefined());
}

TEST_F(ConfigHostile, FilesTheHelperLibraryRefuses) {
    Config& config = use(oneCamera());
    for (const std::string& bad : {std::string("\x00\x01\x02", 3), std::string("<a><b></a>"), std::string("just text"),
                                   std::string("<Settings>"), std::string("<?xml version=\"1.0\"?>")}) {
        app_->writeConfig(bad);
        EXPECT_THROW(config.load(), Qel::Exception);
        EXPECT_EQ(config.getRedGain(kCamera), 11);  // the document as it was
    }
}

}  // namespace
}  // namespace configtest
