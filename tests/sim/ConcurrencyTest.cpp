// The module calls from the host's thread and a worker thread while the
// capture thread writes: the simulator must stay consistent and never crash.
#include "SimTestSupport.h"

#include <atomic>
#include <thread>

using namespace simtest;

namespace {

bool okOrClosed(int status) { return status == IS_SUCCESS || status == IS_INVALID_CAMERA_HANDLE; }

}  // namespace

TEST_F(SimTest, TwoThreadsCallingWhileCapturingLeaveAConsistentCamera) {
    const Camera camera = openCapturing();
    std::atomic<int> failures{0};
    std::thread setter([&] {
        for (int i = 0; i < 300; ++i) {
            double applied = 0;
            if (is_SetHardwareGain(camera.handle, i % 100, 0, 0, 0) != IS_SUCCESS) ++failures;
            if (is_SetFrameRate(camera.handle, 20.0 + i % 40, &applied) != IS_SUCCESS) ++failures;
            if (is_SetExposureTime(camera.handle, 1.0 + i % 30, &applied) != IS_SUCCESS) ++failures;
            const int width = i % 2 ? 640 : 1280, height = i % 2 ? 480 : 1024;
            int x = 0, y = 0, w = width, h = height;
            if (is_SetAOI(camera.handle, IS_SET_IMAGE_AOI, &x, &y, &w, &h) != IS_SUCCESS) ++failures;
            if (is_SetPixelClock(camera.handle, 30 + i % 60) != IS_SUCCESS) ++failures;
        }
    });
    std::thread reader([&] {
        for (int i = 0; i < 300; ++i) {
            double value = 0, unused = 0;
            int number = 0;
            char* inUse = nullptr;
            char* last = nullptr;
            if (is_SetFrameRate(camera.handle, IS_GET_FRAMERATE, &value) != IS_SUCCESS) ++failures;
            if (is_SetExposureTime(camera.handle, IS_GET_EXPOSURE_TIME, &value) != IS_SUCCESS) ++failures;
            if (is_SetAutoParameter(camera.handle, IS_GET_ENABLE_AUTO_GAIN, &value, &unused) != IS_SUCCESS) ++failures;
            if (is_GetActiveBuffer(camera.handle, &number, &inUse, &last) != IS_SUCCESS || inUse != camera.memory)
                ++failures;
            is_SetHardwareGain(camera.handle, IS_GET_MASTER_GAIN, 0, 0, 0);
        }
    });
    setter.join();
    reader.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_TRUE(ueye_sim::waitFrames(2, 10000)) << "capture still runs";
    const auto state = ueye_sim::state();
    EXPECT_LE(state.exposureMs, 1000.0 / state.frameRate + 1e-9);
}

TEST_F(SimTest, AWorkerCallingWhileTheCameraClosesGetsAnErrorNotACrash) {
    for (int round = 0; round < 10; ++round) {
        const Camera camera = openCapturing();
        std::atomic<bool> stop{false};
        std::atomic<int> unexpected{0};
        std::thread worker([&] {
            while (!stop) {
                double fps = 0;
                if (!okOrClosed(is_SetFrameRate(camera.handle, 30.0, &fps))) ++unexpected;
                if (!okOrClosed(is_SetPixelClock(camera.handle, 40))) ++unexpected;
                if (!okOrClosed(is_GetFrameTimeRange(camera.handle, &fps, &fps, &fps))) ++unexpected;
                if (!okOrClosed(is_SetHardwareGain(camera.handle, 3, 0, 0, 0))) ++unexpected;
            }
        });
        ASSERT_TRUE(ueye_sim::waitFrames(1, 10000));
        EXPECT_EQ(is_StopLiveVideo(camera.handle, IS_WAIT), IS_SUCCESS);
        EXPECT_EQ(is_FreeImageMem(camera.handle, camera.memory, camera.memoryId), IS_SUCCESS);
        EXPECT_EQ(is_ExitCamera(camera.handle), IS_SUCCESS);
        stop = true;
        worker.join();
        EXPECT_EQ(unexpected.load(), 0);
    }
}

TEST_F(SimTest, ResetWhileCapturingStopsTheThread) {
    openCapturing();
    ueye_sim::reset();
    const auto state = ueye_sim::state();
    EXPECT_FALSE(state.capturing);
    EXPECT_FALSE(state.open);
    EXPECT_EQ(state.allocatedMemories, 0);
    EXPECT_FALSE(ueye_sim::waitFrames(1, 200));
}
