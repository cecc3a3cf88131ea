// Torn frames: every frame of the stream whole while CPU hogs run and the
// main thread changes exposure and area and records, where the live picture
// mixes frames.
#include "StreamSupport.h"

#include <cstdlib>
#include <future>

namespace testsupport {
namespace {

using namespace std::chrono_literals;

using TornFrameTest = StreamFixture;

TEST_F(TornFrameTest, EveryFrameIsWholeWhileTheMainThreadChangesTheCamera) {
    const char* wanted = std::getenv("NIMBREL_TORN_FRAMES");
    const int frames = wanted ? std::atoi(wanted) : 2000;
    open();
    camera()->setFrameRate(1000.0);
    stream()->start();
    std::atomic<bool> done{false};
    auto consumer = std::async(std::launch::async, [&] {
        int violations = 0;
        std::uint64_t previous = 0;
        int taken = 0;
        for (; taken < frames; ++taken) {
            const auto frame = stream()->next(30s);
            if (!frame) break;
            if (!wholeFrameProblem(*frame).empty() || frame->sequence() <= previous) ++violations;
            previous = frame->sequence();
        }
        done = true;
        return std::to_string(taken) + " frames, violations " + std::to_string(violations);
    });
    CpuHog hogs[2];
    CountingListener listener;
    camera()->startRecording(&listener, app().path() + "torn.avi", 0, 25, 100, 25);
    int pictures = 0;
    int mixed = 0;
    for (int step = 0; !done; ++step) {
        camera()->setExposure(step % 2 ? 2.0 : 5.0);
        // Mostly small areas at their highest rate, now and then the full sensor.
        const int width = step % 4 == 3 ? 1280 : step % 2 ? 640 : 320;
        const int height = step % 4 == 3 ? 1024 : step % 2 ? 480 : 240;
        camera()->setAOI(width, height);
        camera()->setFrameRate(1000.0);
        for (int k = 0; k < 5 && !done; ++k) {
            pumpFor(1);  // the recording's ticks
            const unsigned char* picture = camera()->getActiveImage();
            const std::size_t lastRow = static_cast<std::size_t>(height - 1) * camera()->getMaxWidth() * 3;
            ++pictures;
            mixed += stampAt(picture, 0) != stampAt(picture, lastRow);
        }
    }
    camera()->stopRecording();
    EXPECT_EQ(consumer.get(), std::to_string(frames) + " frames, violations 0");
    RecordProperty("live_pictures", pictures);
    RecordProperty("live_pictures_mixed", mixed);
    std::cout << frames << " frames, 0 torn allowed; live pictures mixed: " << mixed << " of " << pictures << "\n";
}

}  // namespace
}  // namespace testsupport
