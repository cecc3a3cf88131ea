// Opening and closing the camera, which camera is connected, and the sensor information.
#include "SimTestSupport.h"

#include <cstring>

using namespace simtest;

TEST_F(SimTest, InitCameraOpensTheConnectedCameraWithANonzeroHandle) {
    HIDS handle = 0;
    ASSERT_EQ(is_InitCamera(&handle, nullptr), IS_SUCCESS);
    EXPECT_NE(handle, 0u);
    EXPECT_TRUE(ueye_sim::state().open);
    EXPECT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    EXPECT_FALSE(ueye_sim::state().open);
}

TEST_F(SimTest, ASecondOpenWhileOpenFails) {
    const HIDS first = openCamera();
    HIDS second = 0;
    EXPECT_EQ(is_InitCamera(&second, nullptr), IS_CANT_OPEN_DEVICE);
    EXPECT_EQ(second, 0u);
    HIDS same = first;
    EXPECT_NE(is_InitCamera(&same, nullptr), IS_SUCCESS);
    EXPECT_TRUE(ueye_sim::state().open);
}

TEST_F(SimTest, TheCameraOpensAgainAfterItWasClosed) {
    HIDS handle = openCamera();
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    handle = 0;
    EXPECT_EQ(is_InitCamera(&handle, nullptr), IS_SUCCESS);
    EXPECT_NE(handle, 0u);
}

TEST_F(SimTest, ARequestedHandleOtherThanTheCamerasIdFails) {
    HIDS handle = openCamera();
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    HIDS other = handle + 41;
    EXPECT_NE(is_InitCamera(&other, nullptr), IS_SUCCESS);
    EXPECT_FALSE(ueye_sim::state().open);
    HIDS same = handle;
    EXPECT_EQ(is_InitCamera(&same, nullptr), IS_SUCCESS);
    EXPECT_EQ(same, handle);
}

TEST_F(SimTest, InitCameraWithoutAnAddressFails) { EXPECT_NE(is_InitCamera(nullptr, nullptr), IS_SUCCESS); }

TEST_F(SimTest, NoCameraConnectedMakesInitCameraFail) {
    ScopedEnv camera("UESIM_CAMERA", "none");
    ueye_sim::reset();
    EXPECT_EQ(ueye_sim::connectedCamera(), "none");
    HIDS handle = 0;
    EXPECT_NE(is_InitCamera(&handle, nullptr), IS_SUCCESS);
    EXPECT_EQ(handle, 0u);
}

TEST_F(SimTest, AnUnknownCameraNameWarnsOnceAndConnectsNone) {
    ScopedEnv camera("UESIM_CAMERA", "SIM9999-X");
    testing::internal::CaptureStderr();
    ueye_sim::reset();
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("SIM9999-X"), std::string::npos);
    EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << warnings;
    EXPECT_EQ(ueye_sim::connectedCamera(), "none");
    HIDS handle = 0;
    EXPECT_NE(is_InitCamera(&handle, nullptr), IS_SUCCESS);
}

TEST_F(SimTest, TheEnvironmentPicksTheCameraAndAnEmptyValueMeansTheDefault) {
    {
        ScopedEnv camera("UESIM_CAMERA", "SIM2592-C");
        ueye_sim::reset();
        EXPECT_EQ(ueye_sim::connectedCamera(), "SIM2592-C");
    }
    ScopedEnv empty("UESIM_CAMERA", "");
    ueye_sim::reset();
    EXPECT_EQ(ueye_sim::connectedCamera(), "SIM1280-C");
}

TEST_F(SimTest, ConnectCameraTakesEffectAtTheNextOpen) {
    const HIDS handle = openCamera();
    EXPECT_TRUE(ueye_sim::connectCamera("SIM4912-M"));
    SENSORINFO info{};
    ASSERT_EQ(is_GetSensorInfo(handle, &info), IS_SUCCESS);
    EXPECT_STREQ(info.strSensorName, "SIM1280-C");
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    const HIDS again = openCamera();
    ASSERT_EQ(is_GetSensorInfo(again, &info), IS_SUCCESS);
    EXPECT_STREQ(info.strSensorName, "SIM4912-M");
}

TEST_F(SimTest, ConnectCameraRefusesAnUnknownNameAndAcceptsNone) {
    EXPECT_FALSE(ueye_sim::connectCamera("nonsense"));
    EXPECT_EQ(ueye_sim::connectedCamera(), "SIM1280-C");
    EXPECT_TRUE(ueye_sim::connectCamera("none"));
    EXPECT_EQ(ueye_sim::connectedCamera(), "none");
    HIDS handle = 0;
    EXPECT_NE(is_InitCamera(&handle, nullptr), IS_SUCCESS);
}

TEST_F(SimTest, SensorInformationDescribesEachCatalogueModel) {
    ASSERT_EQ(ueye_sim::catalogue().size(), 4u);
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        ASSERT_TRUE(ueye_sim::connectCamera(model.name));
        const HIDS handle = openCamera();
        SENSORINFO info;
        std::memset(&info, 0xAB, sizeof info);
        ASSERT_EQ(is_GetSensorInfo(handle, &info), IS_SUCCESS);
        EXPECT_EQ(std::string(info.strSensorName), model.name);
        EXPECT_EQ(info.nMaxWidth, static_cast<DWORD>(model.maxWidth));
        EXPECT_EQ(info.nMaxHeight, static_cast<DWORD>(model.maxHeight));
        EXPECT_EQ(info.nColorMode, model.colour ? 2 : 1);
        EXPECT_EQ(info.bRGain, model.colour ? 1 : 0);
        EXPECT_EQ(info.bMasterGain, 1);
        EXPECT_GT(info.wPixelSize, 0);
        ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    }
}

TEST_F(SimTest, TheCatalogueHoldsTheFourModels) {
    const auto* colour = ueye_sim::findModel("SIM1280-C");
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(colour->colour);
    EXPECT_EQ(colour->maxWidth, 1280);
    EXPECT_EQ(colour->stepX, 4);
    EXPECT_EQ(colour->stepY, 2);
    const auto* large = ueye_sim::findModel("SIM4912-M");
    ASSERT_NE(large, nullptr);
    EXPECT_FALSE(large->colour);
    EXPECT_EQ(large->maxHeight, 3684);
    EXPECT_EQ(large->stepX, 8);
    EXPECT_EQ(large->stepY, 4);
    EXPECT_NE(ueye_sim::findModel("SIM1280-M"), nullptr);
    EXPECT_NE(ueye_sim::findModel("SIM2592-C"), nullptr);
    EXPECT_EQ(ueye_sim::findModel("SIM1280"), nullptr);
    for (const auto& model : ueye_sim::catalogue()) {
        EXPECT_LE(model.minPixelClock, model.defaultPixelClock);
        EXPECT_LE(model.defaultPixelClock, model.maxPixelClock);
    }
}

TEST_F(SimTest, ExitCameraStopsCaptureAndFreesTheMemories) {
    const Camera camera = openCapturing();
    char* extra = nullptr;
    int extraId = 0;
    ASSERT_EQ(is_AllocImageMem(camera.handle, 64, 64, 8, &extra, &extraId), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 2);
    ASSERT_EQ(is_ExitCamera(camera.handle), IS_SUCCESS);
    const auto state = ueye_sim::state();
    EXPECT_FALSE(state.capturing);
    EXPECT_EQ(state.allocatedMemories, 0);
    EXPECT_FALSE(state.open);
}

TEST_F(SimTest, EveryCallWithAClosedOrForeignHandleIsRefused) {
    const Camera camera = openWithMemory();
    const HIDS handle = camera.handle;
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    for (const HIDS h : {handle, HIDS{0}, HIDS{77}}) {
        SCOPED_TRACE(h);
        double value = 0;
        int number = 0;
        char* memory = nullptr;
        int id = 0;
        int x = 0, y = 0, w = 0, hgt = 0;
        SENSORINFO info{};
        EXPECT_EQ(is_GetSensorInfo(h, &info), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_ExitCamera(h), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_CaptureVideo(h, IS_WAIT), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_StopLiveVideo(h, IS_WAIT), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetExternalTrigger(h, 0), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetDisplayMode(h, IS_SET_DM_DIB), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_AllocImageMem(h, 64, 64, 24, &memory, &id), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetImageMem(h, camera.memory, camera.memoryId), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_FreeImageMem(h, camera.memory, camera.memoryId), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_ClearSequence(h), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_AddToSequence(h, camera.memory, camera.memoryId), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_GetActiveBuffer(h, &number, &memory, &memory), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetColorMode(h, IS_CM_MONO8), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetImageSize(h, 640, 480), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetImagePos(h, 0, 0), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetAOI(h, IS_GET_IMAGE_AOI, &x, &y, &w, &hgt), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetBinning(h, IS_BINNING_DISABLE), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_UncheckedSetup(h, 2, 0), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetHardwareGain(h, 10, 0, 0, 0), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetAutoParameter(h, IS_SET_ENABLE_AUTO_GAIN, &value, &value), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetBrightness(h, 100), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetExposureTime(h, 10.0, &value), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetFrameRate(h, 10.0, &value), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetPixelClock(h, 20), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetGamma(h, 100), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetBlCompensation(h, 1, 10, 0), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_SetColorCorrection(h, 0, nullptr), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_GetOptimalTiming(h, 0, 5000, &number, &value), IS_INVALID_CAMERA_HANDLE);
        EXPECT_EQ(is_GetFrameTimeRange(h, &value, &value, &value), IS_INVALID_CAMERA_HANDLE);
    }
}
