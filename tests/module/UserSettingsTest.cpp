#include "CameraFixture.h"

namespace camtest {
namespace {

using UserSettingsTest = CameraFixture;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(UserSettingsTest, SaveWritesTheCameraValues) {
    open("SIM1280-C");
    camera()->setGain(10, 20, 30, 40);
    camera()->setAutoGain(false);
    camera()->setBrightness(99);
    camera()->setAOI(1001, 701);
    ueye_sim::clearCallLog();
    camera()->saveUserSettings();
    EXPECT_TRUE(config()->getConfSaved());
    const std::string text = configText();
    for (const char* element : {"<UserMasterGain>10</UserMasterGain>", "<UserRedGain>20</UserRedGain>",
                                "<UserGreenGain>30</UserGreenGain>", "<UserBlueGain>40</UserBlueGain>",
                                "<UserAutoGain>false</UserAutoGain>", "<UserBrightness>99</UserBrightness>",
                                "<UserWidth>1000</UserWidth>", "<UserHeight>700</UserHeight>"})
        EXPECT_TRUE(contains(text, element)) << element;
    // Height is asked before width.
    std::vector<std::string> aoiReads;
    for (const auto& record : ueye_sim::callLog())
        if (record.function == "is_SetAOI") aoiReads.push_back(record.arguments);
    EXPECT_EQ(aoiReads.size(), 2u);
}

TEST_F(UserSettingsTest, SavedPresetIsAppliedByTheNextInit) {
    open("SIM1280-C");
    camera()->setAOI(1001, 701);
    camera()->setExposure(6.0);
    const double exposure = camera()->getExposure();
    camera()->saveUserSettings();
    camera()->init();
    EXPECT_TRUE(config()->isUserDefined("SIM1280-C"));
    EXPECT_TRUE(config()->getConfSaved());
    EXPECT_EQ(camera()->getWidth(), 1000);
    EXPECT_EQ(camera()->getPosX(), 140);
    EXPECT_DOUBLE_EQ(camera()->getExposure(), exposure);
}

TEST_F(UserSettingsTest, FailingExposureStopsTheSaveHalfWay) {
    open("SIM1280-C");
    camera()->setGain(10, 20, 30, 40);
    ueye_sim::failCall("is_SetExposureTime", 8);
    config()->setConfSaved(false);
    expectSdkFailure([&] { camera()->saveUserSettings(); }, "is_SetExposureTime", 8);
    EXPECT_FALSE(config()->getConfSaved());
    const std::string text = configText();
    EXPECT_TRUE(contains(text, "<UserBrightness>"));
    EXPECT_FALSE(contains(text, "<UserExposure>"));
    EXPECT_FALSE(contains(text, "<UserWidth>"));
}

TEST_F(UserSettingsTest, ResetRemovesThePresetAndReopens) {
    open("SIM1280-C");
    camera()->setAOI(640, 480);
    camera()->saveUserSettings();
    camera()->setGain(1, 2, 3, 4);
    ueye_sim::clearCallLog();
    camera()->resetUserSettings();
    EXPECT_FALSE(config()->isUserDefined("SIM1280-C"));
    EXPECT_FALSE(contains(configText(), "<User"));
    EXPECT_TRUE(config()->getConfSaved());
    EXPECT_EQ(camera()->getWidth(), 1280);
    EXPECT_EQ(calls().front(), "is_StopLiveVideo");
}

TEST_F(UserSettingsTest, ResetWithoutPresetStillReopens) {
    open("SIM1280-C");
    config()->setConfSaved(false);
    camera()->resetUserSettings();
    EXPECT_TRUE(config()->getConfSaved());
    EXPECT_TRUE(ueye_sim::state().capturing);
}

TEST_F(UserSettingsTest, ResetStopsARunningRecordingFirst) {
    open("SIM1280-C");
    testsupport::TempDir dir;
    CountingListener listener;
    camera()->startRecording(&listener, dir.file("r.avi"), 0, 25, 1000, 25);
    ASSERT_TRUE(testsupport::pumpUntil([&] { return testsupport::fileSize(dir.file("r.avi")) > 200000; }, 10000));
    camera()->resetUserSettings();
    EXPECT_EQ(ueye_sim::openAviInstances(), 0);
    EXPECT_EQ(listener.recordEnds, 0);
    const std::string probe = testsupport::runCommand(
        "ffprobe -v error -count_packets -show_entries stream=nb_frames,nb_read_packets -of csv=p=0 " +
        dir.file("r.avi"));
    EXPECT_EQ(probe.find("N/A"), std::string::npos) << probe;  // the index was written
}

}  // namespace
}  // namespace camtest
