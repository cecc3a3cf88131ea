// Files nobody should write but someone will: each gives a value, false, 0,
// message 64 or the helper library's load error, never a crash.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

#include <string>

namespace configtest {
namespace {

using ::testing::HasSubstr;

std::string nested(const std::string& tag, int depth, const std::string& inside = "") {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<" + tag + ">";
        close += "</" + tag + ">";
    }
    return open + inside + close;
}

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

TEST_F(ConfigHostile, EmptyElementsAndChildrenWhereTextIsExpected) {
    Config& config = use(document(camera(kCamera,
                                         "      <RedGain><Value>5</Value></RedGain><Exposure/><AutoGain/>\n"
                                         "      <UserMasterGain/><UserAutoGain/><UserRedGain><v>5</v></UserRedGain>\n"),
                                  "  <Language/>\n  <AviUserLength><Value>5</Value></AviUserLength>\n"));
    EXPECT_MSG64(config.getRedGain(kCamera));
    EXPECT_MSG64(config.getExposure(kCamera));
    EXPECT_FALSE(config.getAutoGain(kCamera));
    EXPECT_TRUE(config.isUserDefined(kCamera));
    long whole = 6;
    EXPECT_FALSE(config.getUserMasterGain(kCamera, whole));
    EXPECT_FALSE(config.getUserRedGain(kCamera, whole));
    EXPECT_EQ(whole, 6);
    bool flag = true;
    EXPECT_TRUE(config.getUserAutoGain(kCamera, flag));
    EXPECT_FALSE(flag);
    EXPECT_EQ(config.getLanguage(), "");
    EXPECT_EQ(config.getAviUserLength(), 0);
    EXPECT_TRUE(config.isUserRecordingDefined());

    // Writing keeps the children and the file stays readable.
    config.setUserRedGain(kCamera, 8);
    config.load();
    EXPECT_TRUE(config.getUserRedGain(kCamera, whole));
    EXPECT_EQ(whole, 8);
    EXPECT_THAT(fileText(), HasSubstr("<v>5</v>"));
}

TEST_F(ConfigHostile, ThousandsOfCamerasAndOfUserElements) {
    std::string cameras, users;
    for (int i = 0; i < 5000; ++i) cameras += camera("CAM" + std::to_string(i), element("Gamma", std::to_string(i)));
    for (int i = 0; i < 3000; ++i) users += element("User" + std::to_string(i), "1");
    Config& config = use(document(cameras + camera(kCamera, factoryElements() + users)));
    EXPECT_EQ(config.getGamma("CAM4999"), 4999);
    config.setUserMasterGain("CAM2500", 2);
    config.load();
    EXPECT_EQ(childrenIn(configPath(), {"CameraSettings"}).size(), 5001u);
    EXPECT_TRUE(config.isUserDefined("CAM2500"));
    EXPECT_FALSE(config.isUserDefined("CAM2499"));
    config.clearUserSettings(kCamera);
    EXPECT_EQ(childrenIn(configPath(), {"CameraSettings", kCamera}).size(), 13u);
}

// Refusing these is allowed; a file that loads works as any other.
TEST_F(ConfigHostile, DeepNestingAndBytesThatAreNotUtf8) {
    const std::string files[] = {
        document(camera(kCamera, factoryElements() + "      <Extra>" + nested("d", 5000) + "</Extra>\n"),
                 "  <Deep>" + nested("d", 5000) + "</Deep>\n"),
        document(camera(kCamera, factoryElements() +
                                     element("UserExposure",
                                             "\xff\xfe"
                                             "12") +
                                     element("UserNote", "caf\xe9")),
                 "  <Language>Fran\xe7"
                 "ais\x80</Language>\n"),
    };
    for (const std::string& xml : files) {
        if (!tryUse(xml)) continue;
        Config& config = *Config::getInstance();
        EXPECT_EQ(config.getRedGain(kCamera), 11);
        double real = 3;
        EXPECT_FALSE(config.getUserExposure(kCamera, real));
        EXPECT_EQ(real, 3);
        config.getLanguage();  // any text, no crash
        config.setUserMasterGain(kCamera, 5);
        config.clearUserSettings(kCamera);
        EXPECT_NO_THROW(config.load());
        EXPECT_FALSE(config.isUserDefined(kCamera));
    }
    if (tryUse(document(camera(kCamera, "      <Gamma>" + nested("v", 2000, "100") + "</Gamma>\n")))) {
        EXPECT_MSG64(Config::getInstance()->getGamma(kCamera));
    }
}

}  // namespace
}  // namespace configtest
