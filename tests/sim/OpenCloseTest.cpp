// Opening and closing the camera, which camera is connected, and the sensor information.
#include "SimTestSupport.h"

#include <cstring>
#include <functional>
#include <vector>

using namespace simtest;

TEST_F(SimTest, OneOpenAtATimeWithTheCamerasOwnHandle) {
    HIDS handle = 0;
    ASSERT_EQ(is_InitCamera(&handle, nullptr), IS_SUCCESS);
    EXPECT_NE(handle, 0u);
    EXPECT_TRUE(ueye_sim::state().open);
    HIDS second = 0;
    EXPECT_EQ(is_InitCamera(&second, nullptr), IS_CANT_OPEN_DEVICE);
    EXPECT_EQ(second, 0u);
    HIDS same = handle;
    EXPECT_NE(is_InitCamera(&same, nullptr), IS_SUCCESS);
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    EXPECT_FALSE(ueye_sim::state().open);
    HIDS other = handle + 41;
    EXPECT_NE(is_InitCamera(&other, nullptr), IS_SUCCESS);
    EXPECT_FALSE(ueye_sim::state().open);
    EXPECT_NE(is_InitCamera(nullptr, nullptr), IS_SUCCESS);
    EXPECT_EQ(is_InitCamera(&same, nullptr), IS_SUCCESS);
    EXPECT_EQ(same, handle);
}

TEST_F(SimTest, TheEnvironmentOrConnectCameraPicksTheCamera) {
    struct Case {
        const char* env;
        const char* connected;
        bool warns;
    };
    for (const Case& row : {Case{"SIM2592-C", "SIM2592-C", false}, Case{"", "SIM1280-C", false},
                            Case{"none", "none", false}, Case{"SIM9999-X", "none", true}}) {
        ScopedEnv camera("UESIM_CAMERA", row.env);
        testing::internal::CaptureStderr();
        ueye_sim::reset();
        const std::string warnings = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ueye_sim::connectedCamera(), row.connected) << row.env;
        EXPECT_EQ(!warnings.empty(), row.warns) << warnings;
        if (row.warns) {
            EXPECT_NE(warnings.find(row.env), std::string::npos);
            EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << "one line";
        }
        HIDS handle = 0;
        EXPECT_EQ(is_InitCamera(&handle, nullptr) == IS_SUCCESS, row.connected != std::string("none")) << row.env;
        EXPECT_EQ(handle != 0, row.connected != std::string("none"));
    }
    EXPECT_FALSE(ueye_sim::connectCamera("nonsense"));
    EXPECT_EQ(ueye_sim::connectedCamera(), "SIM1280-C");
    const HIDS handle = openCamera();
    EXPECT_TRUE(ueye_sim::connectCamera("SIM4912-M"));
    SENSORINFO info{};
    ASSERT_EQ(is_GetSensorInfo(handle, &info), IS_SUCCESS);
    EXPECT_STREQ(info.strSensorName, "SIM1280-C") << "the open camera stays until it is closed";
}

TEST_F(SimTest, TheCameraListCountsAllAndFillsWhatFits) {
    ScopedEnv cameras("UESIM_CAMERAS", "SIM1280-C,SIM4912-M,SIM1280-M");
    ueye_sim::reset();
    int count = -1, ids[2] = {}, inUse[2] = {};
    char models[2][6] = {};
    EXPECT_EQ(is_ListConnectedCameras(0, &count, nullptr, nullptr, 0, nullptr), IS_SUCCESS);
    EXPECT_EQ(count, 3);
    HIDS handle = 2;
    ASSERT_EQ(is_InitCamera(&handle, nullptr), IS_SUCCESS);
    ASSERT_EQ(is_ListConnectedCameras(2, &count, ids, models[0], 6, inUse), IS_SUCCESS);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(std::vector<int>(ids, ids + 2), (std::vector<int>{1, 2}));
    EXPECT_STREQ(models[1], "SIM49") << "cut to the room given, zero-terminated";
    EXPECT_EQ(std::vector<int>(inUse, inUse + 2), (std::vector<int>{0, 1}));
    for (const int capacity : {-1, 1})
        EXPECT_EQ(is_ListConnectedCameras(capacity, &count, nullptr, models[0], 6, inUse), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_ListConnectedCameras(1, &count, ids, models[0], 0, inUse), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_ListConnectedCameras(0, nullptr, nullptr, nullptr, 0, nullptr), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, SensorInformationDescribesEachCatalogueModel) {
    ASSERT_EQ(ueye_sim::catalogue().size(), 6u);
    EXPECT_EQ(ueye_sim::findModel("SIM1280"), nullptr);
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        EXPECT_EQ(ueye_sim::findModel(model.name), &model);
        EXPECT_LE(model.minPixelClock, model.defaultPixelClock);
        EXPECT_LE(model.defaultPixelClock, model.maxPixelClock);
        ASSERT_TRUE(ueye_sim::connectCamera(model.name));
        const HIDS handle = openCamera();
        SENSORINFO info;
        std::memset(&info, 0xAB, sizeof info);
        ASSERT_EQ(is_GetSensorInfo(handle, &info), IS_SUCCESS);
        EXPECT_EQ(std::string(info.strSensorName), model.name);
        EXPECT_EQ(info.nMaxWidth, static_cast<DWORD>(model.maxWidth));
        EXPECT_EQ(info.nMaxHeight, static_cast<DWORD>(model.maxHeight));
        EXPECT_EQ(info.nColorMode, model.color ? 2 : 1);
        EXPECT_EQ(info.bRGain, model.color ? 1 : 0);
        EXPECT_EQ(info.bMasterGain, 1);
        EXPECT_GT(info.wPixelSize, 0);
        EXPECT_EQ(ueye_sim::state().colorMode, model.color ? IS_CM_RGB8_PACKED : IS_CM_MONO8);
        EXPECT_EQ(ueye_sim::state().aoiWidth, model.maxWidth);
        EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_INC, IS_GET_IMAGE_POS_X_INC), model.stepX);
        EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_Y_INC, IS_GET_IMAGE_POS_Y_INC), model.stepY);
        ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    }
}

TEST_F(SimTest, ExitCameraStopsCaptureFreesTheMemoriesAndOpeningAgainStartsAfresh) {
    const Camera camera = openCapturing();
    char* extra = nullptr;
    int extraId = 0;
    ASSERT_EQ(is_AllocImageMem(camera.handle, 64, 64, 8, &extra, &extraId), IS_SUCCESS);
    ASSERT_EQ(is_SetHardwareGain(camera.handle, 50, 1, 2, 3), IS_SUCCESS);
    ASSERT_EQ(is_SetImageSize(camera.handle, 640, 480), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 2);
    ASSERT_EQ(is_ExitCamera(camera.handle), IS_SUCCESS);
    auto state = ueye_sim::state();
    EXPECT_FALSE(state.capturing);
    EXPECT_EQ(state.allocatedMemories, 0);
    EXPECT_FALSE(state.open);
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetHardwareGain(handle, IS_GET_MASTER_GAIN, 0, 0, 0), 0);
    EXPECT_EQ(ueye_sim::state().aoiWidth, 1280);
}

TEST_F(SimTest, EveryCallWithAClosedOrForeignHandleIsRefused) {
    const Camera camera = openWithMemory();
    double value = 0;
    int number = 0, id = 0, x = 0, y = 0, w = 0, hgt = 0;
    char* memory = nullptr;
    SENSORINFO info{};
    const std::function<int(HIDS)> calls[] = {
        [&](HIDS h) { return is_GetSensorInfo(h, &info); },
        [&](HIDS h) { return is_ExitCamera(h); },
        [&](HIDS h) { return is_CaptureVideo(h, IS_WAIT); },
        [&](HIDS h) { return is_StopLiveVideo(h, IS_WAIT); },
        [&](HIDS h) { return is_SetExternalTrigger(h, 0); },
        [&](HIDS h) { return is_SetDisplayMode(h, IS_SET_DM_DIB); },
        [&](HIDS h) { return is_AllocImageMem(h, 64, 64, 24, &memory, &id); },
        [&](HIDS h) { return is_SetImageMem(h, camera.memory, camera.memoryId); },
        [&](HIDS h) { return is_FreeImageMem(h, camera.memory, camera.memoryId); },
        [&](HIDS h) { return is_ClearSequence(h); },
        [&](HIDS h) { return is_AddToSequence(h, camera.memory, camera.memoryId); },
        [&](HIDS h) { return is_GetActiveBuffer(h, &number, &memory, &memory); },
        [&](HIDS h) { return is_SetColorMode(h, IS_CM_MONO8); },
        [&](HIDS h) { return is_SetImageSize(h, 640, 480); },
        [&](HIDS h) { return is_SetImagePos(h, 0, 0); },
        [&](HIDS h) { return is_SetAOI(h, IS_GET_IMAGE_AOI, &x, &y, &w, &hgt); },
        [&](HIDS h) { return is_SetBinning(h, IS_BINNING_DISABLE); },
        [&](HIDS h) { return is_UncheckedSetup(h, 2, 0); },
        [&](HIDS h) { return is_SetHardwareGain(h, 10, 0, 0, 0); },
        [&](HIDS h) { return is_SetAutoParameter(h, IS_SET_ENABLE_AUTO_GAIN, &value, &value); },
        [&](HIDS h) { return is_SetBrightness(h, 100); },
        [&](HIDS h) { return is_SetExposureTime(h, 10.0, &value); },
        [&](HIDS h) { return is_SetFrameRate(h, 10.0, &value); },
        [&](HIDS h) { return is_SetPixelClock(h, 20); },
        [&](HIDS h) { return is_SetGamma(h, 100); },
        [&](HIDS h) { return is_SetBlCompensation(h, 1, 10, 0); },
        [&](HIDS h) { return is_SetColorCorrection(h, 0, nullptr); },
        [&](HIDS h) { return is_GetOptimalTiming(h, 0, 5000, &number, &value); },
        [&](HIDS h) { return is_GetFrameTimeRange(h, &value, &value, &value); },
    };
    for (const HIDS h : {camera.handle + 1, HIDS{0}})
        for (size_t i = 0; i < std::size(calls); ++i) EXPECT_EQ(calls[i](h), IS_INVALID_CAMERA_HANDLE) << "call " << i;
    EXPECT_TRUE(ueye_sim::state().open);
    EXPECT_EQ(ueye_sim::state().gamma, 100);
    ASSERT_EQ(is_ExitCamera(camera.handle), IS_SUCCESS);
    for (size_t i = 0; i < std::size(calls); ++i)
        EXPECT_EQ(calls[i](camera.handle), IS_INVALID_CAMERA_HANDLE) << "call " << i;
}
