// The area of interest: steps, limits, queries, and where it lands in memory.
#include "SimTestSupport.h"

#include <cstring>
#include <string>
#include <vector>

using namespace simtest;

namespace {

// One call in a sequence on a fresh SIM1280-C: 'S' is_SetImageSize(a, b), 'P' is_SetImagePos(a, b),
// 'Q' is_SetImagePos(a, a), 'O' is_SetAOI setting (a, b, c, d); each gives `result`.
// 'A' reads the area back and expects (a, b, c, d).
struct AreaStep {
    char call;
    int a, b, c, d, result;
};

constexpr int kBad = IS_INVALID_PARAMETER;
const AreaStep kAreaSteps[] = {
    {'Q', IS_GET_IMAGE_POS_X_INC, 0, 0, 0, 4},
    {'Q', IS_GET_IMAGE_POS_Y_INC, 0, 0, 0, 2},
    {'Q', IS_GET_IMAGE_POS_X_MAX, 0, 0, 0, 0},
    {'A', 0, 0, 1280, 1024, 0},
    {'P', IS_GET_IMAGE_POS_X_INC, 0, 0, 0, kBad},  // a query code in one place only
    {'P', 4, 0, 0, 0, kBad},                       // the full-size area cannot move
    {'S', 1284, 1024, 0, 0, kBad},
    {'S', 1002, 700, 0, 0, kBad},
    {'S', 1000, 701, 0, 0, kBad},
    {'S', 0, 0, 0, 0, kBad},
    {'S', 8, 8, 0, 0, kBad},  // below the smallest area
    {'S', 1000, 700, 0, 0, 0},
    {'Q', IS_GET_IMAGE_POS_X_MAX, 0, 0, 0, 280},
    {'Q', IS_GET_IMAGE_POS_Y_MAX, 0, 0, 0, 324},
    {'P', 284, 0, 0, 0, kBad},
    {'P', 0, 326, 0, 0, kBad},
    {'P', 142, 0, 0, 0, kBad},
    {'P', 140, 163, 0, 0, kBad},
    {'P', -4, 0, 0, 0, kBad},
    {'P', 280, 324, 0, 0, 0},
    {'A', 280, 324, 1000, 700, 0},
    {'S', 1004, 700, 0, 0, kBad},
    {'S', 1000, 702, 0, 0, kBad},  // would leave the sensor
    {'P', 140, 162, 0, 0, 0},
    {'A', 140, 162, 1000, 700, 0},
    {'O', 64, 32, 320, 240, 0},
    {'A', 64, 32, 320, 240, 0},
    {'O', 1000, 0, 320, 240, kBad},
    {'A', 64, 32, 320, 240, 0},  // all four at once or nothing
    {'O', 0, 0, 1280, 1024, 0},
    {'A', 0, 0, 1280, 1024, 0},
};

}  // namespace

TEST_F(SimTest, TheAreaKeepsToTheStepsAndTheSensor) {
    const HIDS handle = openCamera();
    for (size_t i = 0; i < std::size(kAreaSteps); ++i) {
        AreaStep s = kAreaSteps[i];
        SCOPED_TRACE("step " + std::to_string(i) + " " + s.call);
        if (s.call != 'A') {
            const int got = s.call == 'S'   ? is_SetImageSize(handle, s.a, s.b)
                            : s.call == 'P' ? is_SetImagePos(handle, s.a, s.b)
                            : s.call == 'Q' ? is_SetImagePos(handle, s.a, s.a)
                                            : is_SetAOI(handle, IS_SET_IMAGE_AOI, &s.a, &s.b, &s.c, &s.d);
            EXPECT_EQ(got, s.result);
        } else {
            int area[4] = {-1, -1, -1, -1};
            ASSERT_EQ(is_SetAOI(handle, IS_GET_IMAGE_AOI, &area[0], &area[1], &area[2], &area[3]), IS_SUCCESS);
            EXPECT_EQ(std::vector<int>(area, area + 4), (std::vector<int>{s.a, s.b, s.c, s.d}));
            EXPECT_EQ(ueye_sim::state().aoiWidth, s.c);
        }
    }
    int x = 0;
    EXPECT_EQ(is_SetAOI(handle, 0x1234, &x, &x, &x, &x), kBad);
    EXPECT_EQ(is_SetAOI(handle, IS_GET_IMAGE_AOI, nullptr, &x, &x, &x), kBad);
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
            ASSERT_EQ(pixelAt(camera, i, j), toPixel(ueye_sim::patternAt(*model, x + i, y + j, 0))) << i << ", " << j;
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
    const auto frame = ueye_sim::state().framesCaptured - 1;
    EXPECT_EQ(pixelAt(view, 199, 99), toPixel(ueye_sim::patternAt(*ueye_sim::findModel("SIM1280-C"), 199, 99, frame)));
}
