#include "CameraFixture.h"

#include <memory>

namespace camtest {
namespace {

using LiveImageTest = CameraFixture;

TEST_F(LiveImageTest, ColourGivesTheCameraBufferEveryTime) {
    open("SIM1280-C");
    ASSERT_TRUE(ueye_sim::waitFrames(2, 5000));
    unsigned char* first = camera()->getActiveImage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(camera()->getActiveImage(), first);
    camera()->setAOI(640, 480);
    EXPECT_EQ(camera()->getActiveImage(), first);
}

TEST_F(LiveImageTest, ColourPictureHasRedAndBlueInPlace) {
    open("SIM1280-C");
    ASSERT_TRUE(ueye_sim::waitFrames(2, 5000));
    const unsigned char* image = camera()->getActiveImage();
    const auto& model = *ueye_sim::findModel("SIM1280-C");
    // Find a pure red and a pure blue pixel of the static bars and compare.
    int checked = 0;
    const int y = model.maxHeight * 3 / 4;
    for (int x = 0; x < model.maxWidth; x += 7) {
        const auto want = ueye_sim::patternAt(model, x, y, 0);
        const unsigned char* got = image + (static_cast<std::size_t>(y) * model.maxWidth + x) * 3;
        if (want.r > 200 && want.g < 50 && want.b < 50) {
            EXPECT_GT(got[0], got[2]) << "red at x " << x;
            ++checked;
        }
        if (want.b > 200 && want.r < 50 && want.g < 50) {
            EXPECT_GT(got[2], got[0]) << "blue at x " << x;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

TEST_F(LiveImageTest, MonochromeGivesANewGreyArray) {
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
        ASSERT_EQ(p[0], p[1]) << "pixel " << i;
        ASSERT_EQ(p[1], p[2]) << "pixel " << i;
        lit += p[0] != 0;
    }
    EXPECT_GT(lit, pixels / 4);
}

TEST_F(LiveImageTest, MonochromeWithoutBufferGivesNull) {
    open("SIM1280-M");
    camera()->exit();
    EXPECT_EQ(camera()->getActiveImage(), nullptr);
}

TEST_F(LiveImageTest, PictureAlwaysHasTheSensorSize) {
    open("SIM1280-M");
    camera()->setAOI(320, 240);
    ASSERT_TRUE(ueye_sim::waitFrames(2, 5000));
    std::unique_ptr<unsigned char[]> image(camera()->getActiveImage());
    // The last byte of a full-size picture is readable (ASan checks the size).
    volatile unsigned char last = image[1280u * 1024u * 3u - 1];
    (void)last;
}

TEST_F(LiveImageTest, RecordingTimerReachesOnTimerForId10Only) {
    open();
    testsupport::TempDir dir;
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
}  // namespace camtest
