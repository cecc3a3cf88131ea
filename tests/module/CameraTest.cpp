// Opening and closing the camera and the live picture. The order of the
// set-up's calls is CallOrderTest's; failures of single SDK calls are the
// fault sweep's.
#include "CameraFixture.h"

#include <Qel/Qel.h>

namespace testsupport {
namespace {

using CameraTest = CameraFixture;

TEST_F(CameraTest, BeforeTheFirstInitNothingIsKnown) {
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
    EXPECT_TRUE(camera()->getName().empty());
    EXPECT_TRUE(camera()->getSensor().empty());
    EXPECT_EQ(camera()->getMaxWidth() + camera()->getMaxHeight(), 0);
    EXPECT_TRUE(camera()->isColor());
    EXPECT_EQ(camera()->getActiveImage(), nullptr);
}

TEST_F(CameraTest, BlackLevelOffSendsZeros) {
    std::string xml = shippedConfig();
    const auto at = xml.find("<BLEnable>", xml.find("<SIM1280-C>"));
    xml.replace(at, xml.find("</BLEnable>", at) - at, "<BLEnable>false");
    app().writeConfig(xml);
    config()->load();
    open("SIM1280-C");
    EXPECT_EQ(argumentsOf("is_SetBlCompensation"), "0, 0, 0");
}

TEST_F(CameraTest, MissingFactoryValueIsReported) {
    app().writeConfig(
        "<Root><CameraSettings><SIM1280-C><MasterGain>1</MasterGain></SIM1280-C></CameraSettings></Root>");
    config()->load();
    EXPECT_EQ(thrownText([&] { open(); }), Qel::Strings::StringTable::get().getString("Nimbrel", 64).str());
}

TEST_F(CameraTest, NoCameraConnected) {
    ueye_sim::connectCamera("none");
    EXPECT_NE(thrownText([&] { camera()->init(); }).find("is_InitCamera"), std::string::npos);
    EXPECT_EQ(camera()->getCamHandle(), nullptr);
}

TEST_F(CameraTest, ExitKeepsWhatTheLastInitReadAndTheMonochromeFlagStays) {
    open("SIM1280-M");
    camera()->exit();
    EXPECT_EQ(camera()->getName().str(), "SIM1280-M");
    EXPECT_EQ(camera()->getMaxWidth(), 1280);
    EXPECT_FALSE(camera()->isColor());
    // Exit on a closed camera makes no call.
    ueye_sim::clearCallLog();
    camera()->exit();
    EXPECT_TRUE(calls().empty());
    ueye_sim::connectCamera("SIM2592-C");
    camera()->init();
    EXPECT_EQ(camera()->getName().str(), "SIM2592-C");
    EXPECT_FALSE(camera()->isColor());
}

TEST_F(CameraTest, DestructorSwallowsAFailingExit) {
    open();
    ueye_sim::failCall("is_StopLiveVideo", 3);
    EXPECT_NO_THROW(delete Camera::getInstance());
    ueye_sim::clearScripts();
    EXPECT_EQ(Camera::getInstance()->getCamHandle(), nullptr);
}

TEST_F(CameraTest, ColorPictureIsTheCameraBufferWithRedAndBlueInPlace) {
    open("SIM1280-C");
    ASSERT_TRUE(ueye_sim::waitFrames(2, 5000));
    const unsigned char* image = camera()->getActiveImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(camera()->getActiveImage(), image);
    const auto& model = *ueye_sim::findModel("SIM1280-C");
    int checked = 0;
    const int y = model.maxHeight * 3 / 4;  // the static colour bars
    for (int x = 0; x < model.maxWidth; x += 7) {
        const auto want = ueye_sim::patternAt(model, x, y, 0);
        const unsigned char* got = image + (static_cast<std::size_t>(y) * model.maxWidth + x) * 3;
        const bool red = want.r > 200 && want.g < 50 && want.b<50, blue = want.b> 200 && want.r < 50 && want.g < 50;
        EXPECT_TRUE(!red || got[0] > got[2]) << "red at x " << x;
        EXPECT_TRUE(!blue || got[2] > got[0]) << "blue at x " << x;
        checked += red || blue;
    }
    EXPECT_GT(checked, 0);
    camera()->setAOI(640, 480);
    EXPECT_EQ(camera()->getActiveImage(), image);
}

TEST_F(CameraTest, MonochromePictureIsANewGreyArrayOfTheSensorSize) {
    open("SIM1280-M");
    ASSERT_TRUE(ueye_sim::waitFrames(2, 5000));
    std::unique_ptr<unsigned char[]> first(camera()->getActiveImage());
    std::unique_ptr<unsigned char[]> second(camera()->getActiveImage());
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first.get(), second.get());
    const std::size_t pixels = 1280u * 1024u;
    std::size_t lit = 0;
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = first.get() + 3 * i;
        ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "pixel " << i;
        lit += p[0] != 0;
    }
    EXPECT_GT(lit, pixels / 4);
    // Whatever the area: the last byte of a full-size picture is readable (ASan checks).
    camera()->setAOI(320, 240);
    std::unique_ptr<unsigned char[]> small(camera()->getActiveImage());
    volatile unsigned char last = small[pixels * 3 - 1];
    (void)last;
    camera()->exit();
    EXPECT_EQ(camera()->getActiveImage(), nullptr);
}

TEST_F(CameraTest, RecordingTimerReachesOnTimerForId10Only) {
    open();
    TempDir dir;
    CountingListener listener;
    // A paused recording with a size limit of 0 ends at its next tick.
    camera()->startRecording(&listener, dir.file("t.avi"), 0, 25, 0, 25);
    camera()->pauseRecording();
    wxTimer other(camera(), 11);
    wxTimerEvent otherTick(other);
    camera()->ProcessEvent(otherTick);
    EXPECT_EQ(listener.recordEnds, 0);
    wxTimer recordId(nullptr, 10);
    wxTimerEvent tick(recordId);
    camera()->ProcessEvent(tick);
    EXPECT_EQ(listener.recordEnds, 1);
}

}  // namespace
}  // namespace testsupport
