// The frame stream: whole, numbered frames, their accounting, and how the
// stream meets the camera's other operations.
#include "StreamSupport.h"

#include <Qel/Qel.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <set>
#include <thread>
#include <vector>

namespace testsupport {
namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

using StreamTest = StreamFixture;
class StreamSensorTest : public StreamFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(StreamSensorTest, FramesAreWholeNumberedAndOfTheArea) {
    open(GetParam());
    camera()->setAOI(640, 480);
    const auto began = std::chrono::steady_clock::now();
    stream()->start();
    ueye_sim::clearCallLog();
    std::uint64_t previous = 0;
    std::uint64_t previousTime = 0;
    for (int i = 0; i < 20; ++i) {
        // A waiting consumer is woken by each frame, long before this time-out.
        const auto frame = stream()->next(60s);
        ASSERT_TRUE(frame);
        EXPECT_EQ(wholeFrameProblem(*frame), "");
        EXPECT_GT(frame->sequence(), previous);
        EXPECT_GT(frame->deviceTime(), previousTime);
        EXPECT_TRUE(frame->hostTime() > began && frame->hostTime() <= std::chrono::steady_clock::now());
        EXPECT_EQ(frame->width(), 640);
        EXPECT_EQ(frame->height(), 480);
        EXPECT_EQ(frame->isColor(), camera()->isColor());
        // The camera writes the area into rows of the whole sensor's width.
        EXPECT_EQ(frame->stride(), camera()->isColor() ? 1280u * 3 : 1280u);
        EXPECT_EQ(frame->size(), frame->stride() * 480);
        previous = frame->sequence();
        previousTime = frame->deviceTime();
    }
    EXPECT_EQ(stream()->delivered(), 20u);
    // One hold a frame: the worker looks only at the buffers written since its last frame.
    const auto names = calls();
    EXPECT_LE(std::count(names.begin(), names.end(), "is_LockSeqBuf"), 20 + 2);
}

INSTANTIATE_TEST_SUITE_P(Sensors, StreamSensorTest, ::testing::Values("SIM1280-C", "SIM1280-M"), [](const auto& info) {
    std::string name = info.param;
    name.replace(name.find('-'), 1, "_");
    return name;
});

TEST_P(StreamSensorTest, PixelsAreTheLivePicturesOwnOneByteForGrey) {
    open(GetParam());
    stream()->start();
    ASSERT_TRUE(stream()->next(2s));
    const auto frame = stream()->next(2s);
    ASSERT_TRUE(frame);
    unsigned char* picture = camera()->getActiveImage();
    // The lower half is still colour bars: the same in every frame.
    const int width = camera()->getMaxWidth();
    const std::size_t row = static_cast<std::size_t>(camera()->getMaxHeight()) - 100;
    int differences = 0;
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 3; ++c) {
            const int own = frame->data()[row * frame->stride() + (frame->isColor() ? 3 * x + c : x)];
            differences += own != picture[(row * width + x) * 3 + c];
        }
    if (!camera()->isColor()) delete[] picture;
    EXPECT_EQ(differences, 0);
}

TEST_F(StreamTest, ASlowConsumerGetsWholeRisingFramesAndAnExactDropCount) {
    open();
    camera()->setFrameRate(60.0);
    stream()->start(3);
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::set<const std::uint8_t*> slots;
    std::optional<Frame> previous;  // kept to compare with, as a consumer may
    for (int i = 0; i < 30; ++i) {
        const auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        EXPECT_EQ(wholeFrameProblem(*frame), "");
        if (i == 0) first = frame->sequence();
        EXPECT_GT(frame->sequence(), last);
        last = frame->sequence();
        slots.insert(frame->data());
        // A copy, and an assignment over the frame before, let go as well.
        if (previous) {
            EXPECT_EQ(wholeFrameProblem(*previous), "");
            *previous = *frame;
        } else {
            previous.emplace(*frame);
        }
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_EQ(stream()->delivered(), 30u);
    EXPECT_EQ(stream()->delivered() + stream()->dropped(), last - first + 1);
    // Taking 20 frames a second of 60 misses some.
    EXPECT_GT(stream()->dropped(), 0u);
    // The camera's memory and the ring of the queue and three spare buffers.
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1 + 6);
    // Left alone, the queue overflows. Frames pushed out of it and frames let
    // go are the camera's again: the ring never grows past the queue and the
    // three spare buffers, the frame held and the one before among them.
    std::this_thread::sleep_for(500ms);
    for (int i = 0; i < 6; ++i) {
        const auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        slots.insert(frame->data());
    }
    EXPECT_LE(slots.size(), 6u);
}

// The worker is named for debuggers and profilers, and gone once stopped.
TEST_F(StreamTest, TheWorkerIsNamedAndEndsWithTheStream) {
    const auto workers = [] {
        int count = 0;
        for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
            std::ifstream comm(task.path() / "comm");
            std::string name;
            std::getline(comm, name);
            count += name == "nimbrel-stream";
        }
        return count;
    };
    open();
    stream()->start();
    // The worker names itself as it starts.
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (workers() == 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(workers(), 1);
    stream()->stop();
    EXPECT_EQ(workers(), 0);
}

TEST_F(StreamTest, AHeldFrameIsNeverWrittenAgain) {
    open();
    stream()->start(1);
    auto first = stream()->next(2s);
    auto second = stream()->next(2s);
    ASSERT_TRUE(first && second);
    // One frame kept only by a copy, another only by an assignment.
    const Frame copied(*first);
    Frame assigned(*first);
    assigned = *second;
    first.reset();
    second.reset();
    const std::vector<std::uint8_t> before(copied.data(), copied.data() + copied.size());
    const std::vector<std::uint8_t> beforeAssigned(assigned.data(), assigned.data() + assigned.size());
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(stream()->next(2s));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), copied.data()));
    EXPECT_TRUE(std::equal(beforeAssigned.begin(), beforeAssigned.end(), assigned.data()));
    stream()->stop();
    camera()->exit();
    // Still valid after the stream and the camera are gone; a frame moved from is empty.
    const Frame moved(std::move(assigned));
    EXPECT_EQ(wholeFrameProblem(moved), "");
    EXPECT_TRUE(std::equal(beforeAssigned.begin(), beforeAssigned.end(), moved.data()));
    EXPECT_EQ(assigned.sequence() + assigned.deviceTime() + assigned.size() + assigned.stride() +
                  static_cast<std::size_t>(assigned.width() + assigned.height() + assigned.isColor()),
              0u);
    EXPECT_EQ(assigned.data(), nullptr);
    EXPECT_EQ(assigned.hostTime(), std::chrono::steady_clock::time_point{});
}

TEST_F(StreamTest, AConsumerThatKeepsEveryFrameGetsEachWholeAndTheMemoryBackAtTheEnd) {
    open();
    camera()->setFrameRate(60.0);
    stream()->start(2);
    std::vector<Frame> kept;
    std::set<const std::uint8_t*> buffers;
    for (int i = 0; i < 12; ++i) {
        auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        if (!kept.empty()) {
            EXPECT_GT(frame->sequence(), kept.back().sequence());
        }
        buffers.insert(frame->data());
        kept.push_back(std::move(*frame));
    }
    EXPECT_EQ(buffers.size(), kept.size());
    // The camera wrote into none of them again.
    for (const Frame& frame : kept) EXPECT_EQ(wholeFrameProblem(frame), "");
    EXPECT_EQ(stream()->delivered() + stream()->dropped(), kept.back().sequence() - kept.front().sequence() + 1);
    stream()->stop();
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
    for (const Frame& frame : kept) EXPECT_EQ(wholeFrameProblem(frame), "");
}

TEST_F(StreamTest, WhileTheStreamRunsThePictureIsTheLastFinishedFrame) {
    open();
    ASSERT_TRUE(camera()->isColor());  // the picture is the camera's buffer itself
    const unsigned char* own = camera()->getActiveImage();
    stream()->start();
    for (int i = 0; i < 10; ++i) {
        const auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        EXPECT_GE(stampAt(camera()->getActiveImage(), 0), frame->sequence());
    }
    stream()->stop();
    // Its own memory again, written from the next frame on.
    ASSERT_TRUE(ueye_sim::waitFrames(2, 2000));
    EXPECT_EQ(camera()->getActiveImage(), own);
}

TEST_F(StreamTest, AStartAgainLendsTheSameMemoryUnlessAFrameOfItIsHeld) {
    open();
    const auto buffersOf = [&](int frames) {
        std::set<const std::uint8_t*> buffers;
        for (int i = 0; i < frames; ++i) {
            const auto frame = stream()->next(2s);
            EXPECT_TRUE(frame);
            if (frame) buffers.insert(frame->data());
        }
        return buffers;
    };
    stream()->start();
    const auto before = buffersOf(12);
    EXPECT_EQ(before.size(), 6u) << "the camera writes its buffers in turn";
    // Frames queued at the stop too.
    std::this_thread::sleep_for(100ms);
    stream()->stop();
    stream()->start();
    // No allocation, and every buffer the camera's again, also those given back after the stop.
    EXPECT_EQ(buffersOf(12), before);
    EXPECT_EQ(stream()->dropped(), 0u);
    // A start that fails half way lets go of the ring whole, for the next.
    stream()->stop();
    ueye_sim::failCall("is_SetAllocatedImageMem", 1, 3);
    EXPECT_THROW(stream()->start(), Qel::Exception);
    ueye_sim::clearScripts();
    stream()->start();
    EXPECT_EQ(buffersOf(12), before);
    auto held = stream()->next(2s);
    ASSERT_TRUE(held);
    const std::vector<std::uint8_t> pixels(held->data(), held->data() + held->size());
    stream()->stop();
    stream()->start();
    for (const auto* buffer : buffersOf(12)) EXPECT_FALSE(before.count(buffer)) << "memory of a held frame";
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), held->data()));
}

TEST_F(StreamTest, AWorkerLateByFramesStillHandsOutEachOne) {
    open();
    camera()->setFrameRate(20.0);
    stream()->start(8);  // room in the queue for the frames that pile up
    const auto first = stream()->next(2s);
    ASSERT_TRUE(first);
    // A slow driver keeps the worker from the camera for several frames.
    ueye_sim::slowCall("is_GetImageInfo", 120000);
    std::this_thread::sleep_for(130ms);
    ueye_sim::clearScripts();
    std::uint64_t previous = first->sequence();
    for (int i = 0; i < 8; ++i) {
        const auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        EXPECT_EQ(frame->sequence(), previous + 1);
        EXPECT_EQ(wholeFrameProblem(*frame), "");
        previous = frame->sequence();
    }
    EXPECT_EQ(stream()->dropped(), 0u);
}

TEST_F(StreamTest, AStartAgainBeginsAfreshAfterAFailure) {
    open();
    stream()->start();
    ASSERT_TRUE(stream()->next(2s));
    ueye_sim::failCall("is_LockSeqBuf", 9);
    ASSERT_TRUE(pumpUntil([&] { return !stream()->isRunning(); }, 3000));
    ueye_sim::clearScripts();
    // Started again, running or not: the old failure and counts are gone.
    stream()->start();
    stream()->start();
    const auto frame = stream()->next(2s);
    ASSERT_TRUE(frame);
    EXPECT_EQ(wholeFrameProblem(*frame), "");
    EXPECT_EQ(stream()->delivered(), 1u);
    EXPECT_EQ(stream()->dropped(), 0u);
}

TEST_F(StreamTest, ExitWhileAConsumerWaitsEndsTheWaitEmpty) {
    open();
    camera()->setFrameRate(1.0);
    stream()->start();
    auto waiting = std::async(std::launch::async, [&] {
        std::optional<Frame> frame;
        while ((frame = stream()->next(5s)) && stream()->isRunning()) {
        }
        return frame.has_value();
    });
    std::this_thread::sleep_for(100ms);
    camera()->exit();
    EXPECT_EQ(waiting.wait_for(3s), std::future_status::ready);
    EXPECT_FALSE(stream()->isRunning());
    camera()->init();
    EXPECT_FALSE(stream()->isRunning());
}

TEST_F(StreamTest, ANewAreaComesFromTheNextCompleteFrameEachFrameWithItsSize) {
    open();
    stream()->start();
    ASSERT_TRUE(stream()->next(2s));
    camera()->setAOI(320, 240);
    // Frames queued before the change keep their own size; the next ones have the new one.
    for (int i = 0; i < 10; ++i) {
        const auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        EXPECT_EQ(wholeFrameProblem(*frame), "");
    }
    const auto frame = stream()->next(2s);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width(), 320);
    EXPECT_EQ(frame->height(), 240);
    // At the top rate the worker mostly waits to hold a buffer being drawn:
    // changes made meanwhile wait for it and then go on, never hang.
    camera()->setFrameRate(1000.0);
    for (int i = 0; i < 20; ++i) camera()->setAOI(i % 2 ? 1280 : 1264, 1024);
    EXPECT_TRUE(stream()->next(2s));
}

TEST_F(StreamTest, AnAreaChangeWaitsUntilTheWorkerHasTakenItsFrame) {
    // Each change starts just after a frame ends, while the worker takes it
    // (the frame after a change is passed by, so every other one): no change
    // may land between the worker finding the frame and reading its number.
    open("SIM2592-C");
    camera()->setFrameRate(1000.0);
    stream()->start();
    ASSERT_TRUE(stream()->next(2s));
    // A slow driver keeps the worker in its turn for a while.
    ueye_sim::slowCall("is_GetImageInfo", 2000);
    ueye_sim::clearCallLog();
    for (int i = 0; i < 16; ++i) {
        ASSERT_TRUE(ueye_sim::waitFrames(2, 2000));
        std::this_thread::sleep_for(200us);
        camera()->setAOI(i % 2 ? 2592 : 2560, 1944);
    }
    stream()->stop();
    bool taking = false;
    int taken = 0;
    for (const auto& name : calls()) {
        if (name == "is_GetActiveBuffer") {
            taking = true;
        } else if (name == "is_GetImageInfo") {
            taking = false;
            ++taken;
        } else if (taking) {
            EXPECT_EQ(name, "is_LockSeqBuf") << "made while the stream took its frame";
        }
    }
    EXPECT_GT(taken, 16);
}

TEST_F(StreamTest, SetDefaultsMovesTheStreamToTheNewImageMemory) {
    open();
    stream()->start();
    // The ring's buffers all hold frames when its new sequence starts again at the first.
    std::uint64_t previous = 0;
    for (int i = 0; i < 8; ++i) {
        const auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        previous = frame->sequence();
    }
    ueye_sim::clearCallLog();
    camera()->setDefaults();
    const std::uint64_t before = stream()->delivered();
    std::set<const std::uint8_t*> buffers;
    for (int i = 0; i < 12; ++i) {
        const auto frame = stream()->next(2s);
        ASSERT_TRUE(frame);
        EXPECT_EQ(wholeFrameProblem(*frame), "");
        EXPECT_GT(frame->sequence(), previous) << "a frame handed out again";
        previous = frame->sequence();
        buffers.insert(frame->data());
    }
    // Buffers whose older frames were passed by are the camera's again.
    EXPECT_EQ(buffers.size(), 6u);
    // The new memory's sequence is replaced by the ring once.
    const auto names = calls();
    EXPECT_EQ(std::count(names.begin(), names.end(), "is_ClearSequence"), 2);
    EXPECT_EQ(stream()->delivered(), before + 12);
    // The old memory was freed, and the stream lets go of its own.
    stream()->stop();
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
}

TEST_F(StreamTest, AStopOnAnotherThreadWaitsForSetDefaultsToGiveTheNewMemoryBack) {
    open();
    stream()->start();
    ASSERT_TRUE(stream()->next(2s));
    ueye_sim::clearCallLog();
    // Held just after the old memory is freed and the new one set.
    ueye_sim::slowCall("is_SetExternalTrigger", 300000);
    auto stopping = std::async(std::launch::async, [this] {
        for (auto names = calls(); std::find(names.begin(), names.end(), "is_SetImageMem") == names.end();
             names = calls())
            std::this_thread::sleep_for(1ms);
        stream()->stop();
    });
    camera()->setDefaults();
    EXPECT_NO_THROW(stopping.get());
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
    // The camera captures into its new memory again.
    ASSERT_TRUE(ueye_sim::waitFrames(2, 2000));
    EXPECT_FALSE(stream()->isRunning());
    stream()->start();
    EXPECT_TRUE(stream()->next(2s));
}

TEST_F(StreamTest, WithoutAStartTheCameraCallsAreUnchanged) {
    open();
    ueye_sim::clearCallLog();
    (void)stream()->isRunning();
    EXPECT_FALSE(stream()->next(10ms));
    camera()->setAOI(640, 480);
    camera()->exit();
    for (const auto& name : calls()) EXPECT_EQ(name.find("Event"), std::string::npos) << name;
}

TEST_F(StreamTest, StartOnAClosedCameraFailsAsTheSdkCall) {
    expectSdkFailure([&] { stream()->start(); }, "is_EnableEvent", 1);
    EXPECT_FALSE(stream()->isRunning());
}

TEST_F(StreamTest, InitByIdOpensThatCamera) {
    setenv("UESIM_CAMERAS", "SIM1280-C,SIM2592-C", 1);
    ueye_sim::reset();
    camera()->initById(2);
    EXPECT_EQ(camera()->getName().str(), "SIM2592-C");
    camera()->init();
    EXPECT_EQ(camera()->getName().str(), "SIM1280-C");
    expectSdkFailure([&] { camera()->initById(3); }, "is_InitCamera", 3);
}

// Each connected camera as "id model" and " in use" when open.
Names connectedCameras() {
    Names listed;
    for (const auto& c : Nimbrel_model::Camera::getConnectedCameras())
        listed.push_back(std::to_string(c.id) + " " + c.model.str() + (c.inUse ? " in use" : ""));
    return listed;
}

TEST_F(StreamTest, ConnectedCamerasListIdsModelsAndTheOpenOne) {
    setenv("UESIM_CAMERAS", "SIM1280-C,SIM2592-C", 1);
    ueye_sim::reset();
    EXPECT_EQ(connectedCameras(), (Names{"1 SIM1280-C", "2 SIM2592-C"}));
    camera()->initById(2);
    EXPECT_EQ(connectedCameras(), (Names{"1 SIM1280-C", "2 SIM2592-C in use"}));
    camera()->exit();
    // More cameras than the first query has room for.
    setenv("UESIM_CAMERAS", "SIM1280-M,SIM1280-M,SIM1280-M,SIM1280-M,SIM1280-M,SIM1280-M,SIM1280-M,SIM1280-M,SIM4912-M",
           1);
    ueye_sim::reset();
    EXPECT_EQ(connectedCameras().size(), 9u);
    EXPECT_EQ(connectedCameras().back(), "9 SIM4912-M");
    ueye_sim::connectCamera("none");
    EXPECT_EQ(connectedCameras(), Names{});
    ueye_sim::failCall("is_ListConnectedCameras", 5);
    expectSdkFailure([] { connectedCameras(); }, "is_ListConnectedCameras", 5);
}

}  // namespace
}  // namespace testsupport
