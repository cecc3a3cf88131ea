// Recordings driven by the real recording timer through the event loop.
#include "AviProbe.h"
#include "CameraFixture.h"

namespace camtest {
namespace {

class RecordingTest : public CameraFixture {
protected:
    testsupport::TempDir dir;
    CountingListener listener;

    bool waitForEnd(int timeoutMs = 20000) {
        return testsupport::pumpUntil([&] { return listener.recordEnds > 0; }, timeoutMs);
    }
};

// Counts the sampled pixels of the static colour bars whose dominant colour in
// the decoded frame is the expected one. (x, y) of the frame is (x + dx, y + dy) of the sensor.
void expectBarsMatch(const std::vector<unsigned char>& bgr, int width, int height, const std::string& sensor,
                     int dx, int dy) {
    const auto& model = *ueye_sim::findModel(sensor);
    int checked = 0, wrong = 0;
    for (int y = 0; y < height; y += 17) {
        for (int x = 0; x < width; x += 13) {
            if (y + dy < model.maxHeight / 2 + 8) continue;  // the moving half
            const auto want = ueye_sim::patternAt(model, x + dx, y + dy, 0);
            const unsigned char* got = &bgr[(static_cast<std::size_t>(y) * width + x) * 3];
            const bool red = want.r > 200 && want.g < 60 && want.b < 60;
            const bool blue = want.b > 200 && want.r < 60 && want.g < 60;
            if (!red && !blue) continue;
            ++checked;
            if (red && !(got[2] > got[0] + 80)) ++wrong;
            if (blue && !(got[0] > got[2] + 80)) ++wrong;
        }
    }
    EXPECT_GT(checked, 10);
    EXPECT_LE(wrong, checked / 20) << wrong << " of " << checked << " samples have red and blue wrong";
}

TEST_F(RecordingTest, TwoSecondsAtTwentyFive) {
    open("SIM1280-C");
    const std::string file = dir.file("two.avi");
    bool closedBeforeEnd = false;
    listener.onRecordEnd = [&] { closedBeforeEnd = ueye_sim::openAviInstances() == 0; };
    camera()->startRecording(&listener, file, 2, 25, 1000, 25);
    ASSERT_TRUE(waitForEnd());
    testsupport::pumpFor(200);
    EXPECT_EQ(listener.recordEnds, 1);
    EXPECT_TRUE(closedBeforeEnd);
    const AviInfo info = probeAvi(file);
    ASSERT_TRUE(info.ok);
    EXPECT_EQ(info.codec, "mjpeg");
    EXPECT_EQ(info.tag, "MJPG");
    EXPECT_EQ(info.width, 1280);
    EXPECT_EQ(info.height, 1024);
    EXPECT_EQ(info.rate, "25/1");
    EXPECT_EQ(info.frames, 50);
    EXPECT_EQ(info.indexFrames, "50");
    const auto frame = decodeFrameBgr(file, 10);
    ASSERT_EQ(frame.size(), 1280u * 1024u * 3u);
    expectBarsMatch(frame, 1280, 1024, "SIM1280-C", 0, 0);
}

TEST_F(RecordingTest, AreaOfInterestSetsTheFrameSize) {
    open("SIM1280-C");
    camera()->setAOI(640, 480);
    const int posX = camera()->getPosX(), posY = camera()->getPosY();
    const std::string file = dir.file("aoi.avi");
    camera()->startRecording(&listener, file, 0.5, 25, 1000, 25);
    ASSERT_TRUE(waitForEnd());
    const AviInfo info = probeAvi(file);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 480);
    EXPECT_EQ(info.frames, 13);  // 0.5 s at 25 fps: the 13th frame's time takes it below zero
    const auto frame = decodeFrameBgr(file, 5);
    ASSERT_EQ(frame.size(), 640u * 480u * 3u);
    expectBarsMatch(frame, 640, 480, "SIM1280-C", posX, posY);
}

TEST_F(RecordingTest, MonochromeFramesAreGrey) {
    open("SIM1280-M");
    const std::string file = dir.file("grey.avi");
    camera()->startRecording(&listener, file, 0.4, 25, 1000, 25);
    ASSERT_TRUE(waitForEnd());
    const auto frame = decodeFrameBgr(file, 3);
    ASSERT_EQ(frame.size(), 1280u * 1024u * 3u);
    int off = 0;
    for (std::size_t i = 0; i < frame.size(); i += 3 * 101)
        if (std::abs(frame[i] - frame[i + 2]) > 12 || std::abs(frame[i + 1] - frame[i + 2]) > 12) ++off;
    EXPECT_LT(off, 50);
}

TEST_F(RecordingTest, StoppedByTheHostSendsNoRecordEnd) {
    open("SIM1280-C");
    const std::string file = dir.file("stop.avi");
    camera()->startRecording(&listener, file, 0, 25, 1000, 25);
    // Some frames in, however slow the machine.
    ASSERT_TRUE(testsupport::pumpUntil([&] { return testsupport::fileSize(file) > 200000; }, 30000));
    camera()->stopRecording();
    testsupport::pumpFor(200);
    EXPECT_EQ(listener.recordEnds, 0);
    const AviInfo info = probeAvi(file);
    EXPECT_GT(info.frames, 1);
    EXPECT_EQ(info.indexFrames, std::to_string(info.frames));
}

TEST_F(RecordingTest, NegativeRateTakesTheCameraRate) {
    open("SIM1280-C");
    camera()->setFrameRate(8.0);
    const std::string file = dir.file("cam.avi");
    camera()->startRecording(&listener, file, 1, -1, 1000, 8);
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(probeAvi(file).frames, 8);
}

TEST_F(RecordingTest, ListenerMayStartTheNextRecording) {
    open("SIM1280-C");
    const std::string second = dir.file("second.avi");
    listener.onRecordEnd = [&] {
        if (listener.recordEnds == 1) camera()->startRecording(&listener, second, 0.2, 25, 1000, 25);
    };
    camera()->startRecording(&listener, dir.file("first.avi"), 0.2, 25, 1000, 25);
    // The second recording lists the listener twice: it hears the end twice more.
    ASSERT_TRUE(testsupport::pumpUntil([&] { return listener.recordEnds >= 3; }, 20000));
    EXPECT_EQ(probeAvi(second).frames, 5);
}

}  // namespace
}  // namespace camtest
