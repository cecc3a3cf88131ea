// Factory values: read for a camera name, message 64 when missing or unreadable.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

namespace configtest {
namespace {

// The factory elements with `name` replaced by `replacement` (which may be empty).
std::string factoryWith(const std::string& name, const std::string& replacement) {
    std::string body = factoryElements();
    const std::string open = "      <" + name + ">";
    const size_t start = body.find(open);
    const size_t end = body.find('\n', start) + 1;
    return body.replace(start, end - start, replacement);
}

std::string fileWith(const std::string& name, const std::string& replacement) {
    return document(camera(kCamera, factoryWith(name, replacement)));
}

class ConfigFactory : public ConfigTest {};

TEST_F(ConfigFactory, ReadsEveryValueOfTheCamera) {
    Config& config = use(oneCamera());
    EXPECT_EQ(config.getMasterGain(kCamera), 7);
    EXPECT_EQ(config.getRedGain(kCamera), 11);
    EXPECT_EQ(config.getGreenGain(kCamera), 12);
    EXPECT_EQ(config.getBlueGain(kCamera), 13);
    EXPECT_FALSE(config.getAutoGain(kCamera));
    EXPECT_EQ(config.getBrightness(kCamera), 100);
    EXPECT_DOUBLE_EQ(config.getExposure(kCamera), 12.5);
    EXPECT_EQ(config.getClock(kCamera), 30);
    EXPECT_EQ(config.getGamma(kCamera), 160);
    EXPECT_TRUE(config.getBLEnable(kCamera));
    EXPECT_EQ(config.getBlackLevel(kCamera), 5);
    EXPECT_EQ(config.getColorMode(kCamera), 129);
    EXPECT_EQ(config.getColorCorrection(kCamera), 1);
}

TEST_F(ConfigFactory, EachCameraReadsItsOwnElement) {
    Config& config = use(document(camera("A", element("Gamma", "101")) + camera("B", element("Gamma", "202"))));
    EXPECT_EQ(config.getGamma("A"), 101);
    EXPECT_EQ(config.getGamma("B"), 202);
    EXPECT_MSG64(config.getGamma("a"));  // names are case-sensitive
}

TEST_F(ConfigFactory, NegativeWholeNumbersAreRead) {
    Config& config = use(fileWith("BlackLevel", element("BlackLevel", "-12")));
    EXPECT_EQ(config.getBlackLevel(kCamera), -12);
}

TEST_F(ConfigFactory, AutoGainTrueInAnyCaseMakesMasterGainMinusOneWithoutReadingIt) {
    for (const char* text : {"true", "TRUE", "True", "tRuE"}) {
        Config& config = use(document(camera(kCamera, element("MasterGain", "not a number") +
                                                         element("AutoGain", text))));
        EXPECT_EQ(config.getMasterGain(kCamera), -1) << text;
        EXPECT_TRUE(config.getAutoGain(kCamera)) << text;
    }
}

TEST_F(ConfigFactory, OtherAutoGainTextsLeaveMasterGainToItsValue) {
    // castBoolean takes "1" as true; the master gain test does not.
    Config& config = use(fileWith("AutoGain", element("AutoGain", "1")));
    EXPECT_EQ(config.getMasterGain(kCamera), 7);
    EXPECT_EQ(config.getAutoGain(kCamera), Qel::XML::XMLDoc::castBoolean("1"));
    EXPECT_TRUE(config.getAutoGain(kCamera));

    use(fileWith("AutoGain", element("AutoGain", "false")));
    EXPECT_EQ(config.getMasterGain(kCamera), 7);
    EXPECT_FALSE(config.getAutoGain(kCamera));

    use(fileWith("AutoGain", element("AutoGain", "truely")));
    EXPECT_EQ(config.getMasterGain(kCamera), 7);
    EXPECT_FALSE(config.getAutoGain(kCamera));
}

TEST_F(ConfigFactory, NoAutoGainElementMeansAutoGainOffForMasterGainOnly) {
    Config& config = use(fileWith("AutoGain", ""));
    EXPECT_EQ(config.getMasterGain(kCamera), 7);
    EXPECT_MSG64(config.getAutoGain(kCamera));
}

TEST_F(ConfigFactory, AutoGainOnStillNeedsAMasterGainElement) {
    Config& config = use(document(camera(kCamera, element("AutoGain", "true"))));
    EXPECT_MSG64(config.getMasterGain(kCamera));
}

TEST_F(ConfigFactory, MasterGainThatIsNotANumberIsMessage64WhenAutoGainIsOff) {
    Config& config = use(fileWith("MasterGain", element("MasterGain", "seven")));
    EXPECT_MSG64(config.getMasterGain(kCamera));
}

TEST_F(ConfigFactory, EmptyElementIsMessage64) {
    Config& config = use(fileWith("RedGain", "      <RedGain></RedGain>\n"));
    EXPECT_MSG64(config.getRedGain(kCamera));
    use(fileWith("Exposure", "      <Exposure/>\n"));
    EXPECT_MSG64(config.getExposure(kCamera));
}

TEST_F(ConfigFactory, FractionIsARealNumberButNotAWholeOne) {
    Config& config = use(fileWith("Clock", element("Clock", "12.5")));
    EXPECT_MSG64(config.getClock(kCamera));
    EXPECT_DOUBLE_EQ(config.getExposure(kCamera), 12.5);
}

TEST_F(ConfigFactory, TextAfterTheNumberIsMessage64) {
    Config& config = use(fileWith("Gamma", element("Gamma", "100x")));
    EXPECT_MSG64(config.getGamma(kCamera));
    use(fileWith("Exposure", element("Exposure", "12.5ms")));
    EXPECT_MSG64(config.getExposure(kCamera));
    use(fileWith("Exposure", element("Exposure", "12,5")));  // a decimal comma is not a number here
    EXPECT_MSG64(config.getExposure(kCamera));
}

TEST_F(ConfigFactory, WholeNumbersAreDecimalOnly) {
    Config& config = use(fileWith("ColorMode", element("ColorMode", "0x81")));
    EXPECT_MSG64(config.getColorMode(kCamera));
    use(fileWith("ColorMode", element("ColorMode", "0129")));
    EXPECT_EQ(config.getColorMode(kCamera), 129);
}

TEST_F(ConfigFactory, EveryMissingElementIsMessage64ForItsGetterOnly) {
    Config& config = use(fileWith("Brightness", ""));
    EXPECT_MSG64(config.getBrightness(kCamera));
    EXPECT_EQ(config.getGamma(kCamera), 160);

    struct Case {
        const char* element;
        std::function<void(Config&)> get;
    };
    const Case cases[] = {
        {"MasterGain", [](Config& c) { c.getMasterGain(kCamera); }},
        {"RedGain", [](Config& c) { c.getRedGain(kCamera); }},
        {"GreenGain", [](Config& c) { c.getGreenGain(kCamera); }},
        {"BlueGain", [](Config& c) { c.getBlueGain(kCamera); }},
        {"AutoGain", [](Config& c) { c.getAutoGain(kCamera); }},
        {"Brightness", [](Config& c) { c.getBrightness(kCamera); }},
        {"Exposure", [](Config& c) { c.getExposure(kCamera); }},
        {"Clock", [](Config& c) { c.getClock(kCamera); }},
        {"Gamma", [](Config& c) { c.getGamma(kCamera); }},
        {"BLEnable", [](Config& c) { c.getBLEnable(kCamera); }},
        {"BlackLevel", [](Config& c) { c.getBlackLevel(kCamera); }},
        {"ColorMode", [](Config& c) { c.getColorMode(kCamera); }},
        {"ColorCorrection", [](Config& c) { c.getColorCorrection(kCamera); }},
    };
    for (const Case& missing : cases) {
        use(fileWith(missing.element, ""));
        EXPECT_MSG64(missing.get(config)) << missing.element;
        for (const Case& other : cases) {
            if (&other == &missing) continue;
            EXPECT_NO_THROW(other.get(config)) << other.element << " without " << missing.element;
        }
    }
}

TEST_F(ConfigFactory, UnknownCameraIsMessage64ForEveryGetter) {
    Config& config = use(oneCamera());
    const hstring name = "SIM9999-C";
    EXPECT_MSG64(config.getMasterGain(name));
    EXPECT_MSG64(config.getRedGain(name));
    EXPECT_MSG64(config.getGreenGain(name));
    EXPECT_MSG64(config.getBlueGain(name));
    EXPECT_MSG64(config.getAutoGain(name));
    EXPECT_MSG64(config.getBrightness(name));
    EXPECT_MSG64(config.getExposure(name));
    EXPECT_MSG64(config.getClock(name));
    EXPECT_MSG64(config.getGamma(name));
    EXPECT_MSG64(config.getBLEnable(name));
    EXPECT_MSG64(config.getBlackLevel(name));
    EXPECT_MSG64(config.getColorMode(name));
    EXPECT_MSG64(config.getColorCorrection(name));
}

TEST_F(ConfigFactory, CameraOutsideCameraSettingsIsNotFound) {
    Config& config = use("<Settings>\n" + camera(kCamera, factoryElements()) + "</Settings>\n");
    EXPECT_MSG64(config.getRedGain(kCamera));
    EXPECT_MSG64(config.getBLEnable(kCamera));
}

TEST_F(ConfigFactory, BooleansAreWhatCastBooleanGives) {
    Config& config = use(fileWith("BLEnable", element("BLEnable", "maybe")));
    EXPECT_FALSE(config.getBLEnable(kCamera));
    use(fileWith("BLEnable", element("BLEnable", "TRUE")));
    EXPECT_TRUE(config.getBLEnable(kCamera));
    use(fileWith("BLEnable", "      <BLEnable/>\n"));
    EXPECT_FALSE(config.getBLEnable(kCamera));
}

TEST_F(ConfigFactory, ReadingChangesNeitherMemoryNorFile) {
    Config& config = use(oneCamera());
    SaveCounter saves(resFolder(), "config.xml");
    config.getMasterGain(kCamera);
    config.getExposure(kCamera);
    config.getAutoGain(kCamera);
    EXPECT_MSG64(config.getClock("nope"));
    EXPECT_EQ(saves.take(), 0);
    EXPECT_EQ(fileText(), oneCamera());
}

}  // namespace
}  // namespace configtest
