// The area of interest: steps, limits, queries, and where it lands in memory.
#include "SimTestSupport.h"

#include <cstring>

using namespace simtest;

namespace {

struct Area {
    int x, y, width, height;
};

Area readArea(HIDS handle) {
    Area area{-1, -1, -1, -1};
    EXPECT_EQ(is_SetAOI(handle, IS_GET_IMAGE_AOI, &area.x, &area.y, &area.width, &area.height), IS_SUCCESS);
    return area;
}

}  // namespace

TEST_F(SimTest, TheAreaStartsAsTheFullSensor) {
    const HIDS handle = openCamera();
    const Area area = readArea(handle);
    EXPECT_EQ(area.x, 0);
    EXPECT_EQ(area.y, 0);
    EXPECT_EQ(area.width, 1280);
    EXPECT_EQ(area.height, 1024);
}

TEST_F(SimTest, PositionStepsAndLargestOffsetsFollowTheSizeSet) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_INC, IS_GET_IMAGE_POS_X_INC), 4);
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_Y_INC, IS_GET_IMAGE_POS_Y_INC), 2);
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_MAX, IS_GET_IMAGE_POS_X_MAX), 0);
    ASSERT_EQ(is_SetImageSize(handle, 1000, 700), IS_SUCCESS);
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_MAX, IS_GET_IMAGE_POS_X_MAX), 280);
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_Y_MAX, IS_GET_IMAGE_POS_Y_MAX), 324);
}

TEST_F(SimTest, EachModelReportsItsOwnSteps) {
    for (const auto& model : ueye_sim::catalogue()) {
        SCOPED_TRACE(model.name);
        ASSERT_TRUE(ueye_sim::connectCamera(model.name));
        const HIDS handle = openCamera();
        EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_INC, IS_GET_IMAGE_POS_X_INC), model.stepX);
        EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_Y_INC, IS_GET_IMAGE_POS_Y_INC), model.stepY);
        ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    }
}

TEST_F(SimTest, AQueryCodeInOnlyOnePlaceIsRefused) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetImagePos(handle, IS_GET_IMAGE_POS_X_INC, 0), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, TheSizeMustFitTheSensorAtThePositionAndKeepToTheSteps) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetImageSize(handle, 1284, 1024), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetImageSize(handle, 1002, 700), IS_INVALID_PARAMETER) << "not a multiple of 4";
    EXPECT_EQ(is_SetImageSize(handle, 1000, 701), IS_INVALID_PARAMETER) << "not a multiple of 2";
    EXPECT_EQ(is_SetImageSize(handle, 0, 0), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetImageSize(handle, 8, 8), IS_INVALID_PARAMETER) << "below the smallest area";
    ASSERT_EQ(is_SetImageSize(handle, 640, 480), IS_SUCCESS);
    ASSERT_EQ(is_SetImagePos(handle, 640, 544), IS_SUCCESS);
    EXPECT_EQ(is_SetImageSize(handle, 644, 480), IS_INVALID_PARAMETER) << "would leave the sensor";
    EXPECT_EQ(is_SetImageSize(handle, 640, 482), IS_INVALID_PARAMETER);
    const Area area = readArea(handle);
    EXPECT_EQ(area.width, 640);
    EXPECT_EQ(area.height, 480);
}

TEST_F(SimTest, ThePositionMustKeepTheAreaOnTheSensorAndToTheSteps) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_SetImagePos(handle, 4, 0), IS_INVALID_PARAMETER) << "the full-size area cannot move";
    ASSERT_EQ(is_SetImageSize(handle, 1000, 700), IS_SUCCESS);
    EXPECT_EQ(is_SetImagePos(handle, 284, 0), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetImagePos(handle, 0, 326), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetImagePos(handle, 142, 0), IS_INVALID_PARAMETER) << "not a multiple of 4";
    EXPECT_EQ(is_SetImagePos(handle, 140, 163), IS_INVALID_PARAMETER) << "not a multiple of 2";
    EXPECT_EQ(is_SetImagePos(handle, -4, 0), IS_INVALID_PARAMETER);
    ASSERT_EQ(is_SetImagePos(handle, 280, 324), IS_SUCCESS);
    const Area area = readArea(handle);
    EXPECT_EQ(area.x, 280);
    EXPECT_EQ(area.y, 324);
    ASSERT_EQ(is_SetImagePos(handle, 140, 162), IS_SUCCESS);
    EXPECT_EQ(readArea(handle).x, 140);
}

TEST_F(SimTest, SetAOISetsAllFourAtOnceOrNothing) {
    const HIDS handle = openCamera();
    int x = 64, y = 32, width = 320, height = 240;
    ASSERT_EQ(is_SetAOI(handle, IS_SET_IMAGE_AOI, &x, &y, &width, &height), IS_SUCCESS);
    Area area = readArea(handle);
    EXPECT_EQ(area.x, 64);
    EXPECT_EQ(area.y, 32);
    EXPECT_EQ(area.width, 320);
    EXPECT_EQ(area.height, 240);
    int badX = 1000, badY = 0, badWidth = 320, badHeight = 240;
    EXPECT_EQ(is_SetAOI(handle, IS_SET_IMAGE_AOI, &badX, &badY, &badWidth, &badHeight), IS_INVALID_PARAMETER);
    area = readArea(handle);
    EXPECT_EQ(area.x, 64);
    EXPECT_EQ(area.width, 320);
    int fullX = 0, fullY = 0, fullWidth = 1280, fullHeight = 1024;
    ASSERT_EQ(is_SetAOI(handle, IS_SET_IMAGE_AOI, &fullX, &fullY, &fullWidth, &fullHeight), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().aoiWidth, 1280);
    EXPECT_EQ(is_SetAOI(handle, 0x1234, &x, &y, &width, &height), IS_INVALID_PARAMETER);
    EXPECT_EQ(is_SetAOI(handle, IS_GET_IMAGE_AOI, nullptr, &y, &width, &height), IS_INVALID_PARAMETER);
}

TEST_F(SimTest, TheAreaIsLaidOutFromTheMemorysCornerWithFullWidthLines) {
    const Camera camera = openWithMemory();
    const std::size_t bytes = static_cast<std::size_t>(camera.width) * camera.height * 3;
    std::memset(camera.memory, 0x55, bytes);
    int x = 640, y = 520, width = 320, height = 200;
    ASSERT_EQ(is_SetAOI(camera.handle, IS_SET_IMAGE_AOI, &x, &y, &width, &height), IS_SUCCESS);
    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    stopCapture(camera);
    const auto* model = ueye_sim::findModel("SIM1280-C");
    const Pixel untouched{0x55, 0x55, 0x55};
    for (int j = 16; j < height; j += 7) {
        for (int i = 0; i < width; i += 5)
            ASSERT_EQ(pixelAt(camera, i, j), toPixel(ueye_sim::patternAt(*model, x + i, y + j, 0)))
                << i << ", " << j;
        EXPECT_EQ(pixelAt(camera, width, j), untouched) << "right of the area, line " << j;
        EXPECT_EQ(pixelAt(camera, camera.width - 1, j), untouched);
    }
    EXPECT_EQ(pixelAt(camera, 0, height), untouched) << "below the area";
    EXPECT_EQ(pixelAt(camera, 100, camera.height - 1), untouched);
    // The frame number stays in the picture's corner wherever the area lies.
    EXPECT_EQ(frameCounter(camera), ueye_sim::state().framesCaptured - 1);
}

TEST_F(SimTest, AWideAreaInANarrowMemoryIsClippedToTheMemory) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetColorMode(handle, IS_CM_RGB8_PACKED), IS_SUCCESS);
    char* memory = nullptr;
    int id = 0;
    ASSERT_EQ(is_AllocImageMem(handle, 200, 100, 24, &memory, &id), IS_SUCCESS);
    ASSERT_EQ(is_AddToSequence(handle, memory, id), IS_SUCCESS);
    ASSERT_EQ(is_CaptureVideo(handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(2, 10000));
    ASSERT_EQ(is_StopLiveVideo(handle, IS_WAIT), IS_SUCCESS);
    const Camera view{handle, memory, id, 200, 100, 24};
    const auto* model = ueye_sim::findModel("SIM1280-C");
    const auto frame = ueye_sim::state().framesCaptured - 1;
    EXPECT_EQ(pixelAt(view, 199, 99), toPixel(ueye_sim::patternAt(*model, 199, 99, frame)));
}
