// What a save does to the file: layout and comments kept, numbers in a form
// that reads the same under any locale.
#include "ConfigTestSupport.h"

#include <gmock/gmock.h>

#include <clocale>
#include <string>

namespace configtest {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// As a person might leave it: comments everywhere, odd indentation, blank lines, attributes.
const std::string kHandEdited =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- edited by hand on the bench -->\n"
    "<Conf version=\"3\">\n"
    "\n"
    "\t<CameraSettings>   <!-- one per sensor -->\n"
    "  <CAM-1>\n"
    "        <MasterGain>7</MasterGain>  <!-- was 9 -->\n"
    "<RedGain>11</RedGain>\n"
    "        <!-- gains below were measured under daylight -->\n"
    "        <GreenGain>12</GreenGain>\n"
    "        <BlueGain>13</BlueGain>\n"
    "        <AutoGain>false</AutoGain>\n"
    "        <Brightness>100</Brightness>\n"
    "        <Exposure>12.5</Exposure>\n"
    "        <Clock>30</Clock>\n"
    "        <Gamma>160</Gamma>\n"
    "        <BLEnable>true</BLEnable>\n"
    "        <BlackLevel>5</BlackLevel>\n"
    "        <ColorMode>129</ColorMode>\n"
    "        <ColorCorrection>1</ColorCorrection>\n"
    "        <UserExposure>10</UserExposure>\n"
    "  </CAM-1>\n"
    "\t</CameraSettings>\n"
    "\n"
    "  <Language>English</Language>   <!-- or French -->\n"
    "</Conf>\n";

std::vector<std::string> commentLines(const std::string& text) {
    std::vector<std::string> found;
    size_t at = 0;
    while ((at = text.find("<!--", at)) != std::string::npos) {
        const size_t end = text.find("-->", at);
        found.push_back(text.substr(at, end + 3 - at));
        at = end;
    }
    return found;
}

class ConfigFileFormat : public ConfigTest {};

// A comment closing the line of the last element belongs to that element.
TEST_F(ConfigFileFormat, AppendingKeepsACommentOnTheLineOfThePreviousLastElement) {
    Config& config = use(kHandEdited);
    config.setAviUserLength(10);
    const LineDiff diff = diffLines(kHandEdited, fileText());
    EXPECT_THAT(diff.removed, ElementsAre());
    for (const std::string& line : diff.added) {
        EXPECT_THAT(
            line, ::testing::AnyOf(HasSubstr("<AviUserLength>10</AviUserLength>"), ::testing::MatchesRegex("[ \t]*")));
        EXPECT_THAT(line, ::testing::Not(HasSubstr("<!--")));
    }
}

TEST_F(ConfigFileFormat, ClearingKeepsTheFactoryLinesAndComments) {
    Config& config = use(kHandEdited);
    config.clearUserSettings(kCamera);
    const std::string after = fileText();
    const LineDiff diff = diffLines(kHandEdited, after);
    EXPECT_THAT(diff.removed, Each(HasSubstr("UserExposure")));
    EXPECT_THAT(diff.added, Each(::testing::MatchesRegex("[ \t]*(</CAM-1>)?")));
    EXPECT_EQ(commentLines(after), commentLines(kHandEdited));
}

TEST_F(ConfigFileFormat, SavingTheShippedFileUnchangedKeepsItByteForByte) {
    Config& config = useShipped();
    config.resetUserRecordSettings();  // removes nothing, saves
    EXPECT_EQ(fileText(), testsupport::shippedConfig());
}

// Restores the C locale however the test ends.
class FrenchNumbers : public ConfigTest {
protected:
    void SetUp() override {
        if (!std::setlocale(LC_ALL, "fr_FR.UTF-8"))
            GTEST_SKIP() << "locale fr_FR.UTF-8 is not installed (scripts/install-deps generates it)";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(FrenchNumbers, ReadsPointDecimalsAndRefusesCommaDecimals) {
    Config& config = use(oneCamera(element("UserFramerate", "24.5") + element("UserExposure", "12,5")));
    EXPECT_DOUBLE_EQ(config.getExposure(kCamera), 12.5);
    double value = 0;
    EXPECT_TRUE(config.getUserFramerate(kCamera, value));
    EXPECT_DOUBLE_EQ(value, 24.5);
    EXPECT_FALSE(config.getUserExposure(kCamera, value));
    EXPECT_EQ(config.getClock(kCamera), 30);
}

TEST_F(FrenchNumbers, WritesPointDecimals) {
    Config& config = use(oneCamera());
    config.setUserExposure(kCamera, 12.5);
    config.setUserFramerate(kCamera, 0.125);
    EXPECT_THAT(fileText(), HasSubstr("<UserExposure>12.5</UserExposure>"));
    EXPECT_THAT(fileText(), HasSubstr("<UserFramerate>0.125</UserFramerate>"));
    std::setlocale(LC_ALL, "C");
    config.load();
    double value = 0;
    EXPECT_TRUE(config.getUserExposure(kCamera, value));
    EXPECT_DOUBLE_EQ(value, 12.5);
}

}  // namespace
}  // namespace configtest
