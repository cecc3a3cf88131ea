// Image memories, the active memory, the capture sequence and the active-buffer query.
#include "SimTestSupport.h"

#include <algorithm>
#include <vector>

using namespace simtest;

namespace {

struct ActiveBuffer {
    int status, number = 0;
    char *inUse = nullptr, *last = nullptr;
};

ActiveBuffer activeBuffer(HIDS handle) {
    ActiveBuffer b{};
    b.status = is_GetActiveBuffer(handle, &b.number, &b.inUse, &b.last);
    return b;
}

}  // namespace

TEST_F(SimTest, MemoriesAreZeroedWritableOwnIdsAndFreedOnlyWithTheirPointerAndId) {
    const HIDS handle = openCamera();
    char* memory = nullptr;
    char* second = nullptr;
    int id = 0, secondId = 0;
    ASSERT_EQ(is_AllocImageMem(handle, 640, 480, 24, &memory, &id), IS_SUCCESS);
    ASSERT_EQ(is_AllocImageMem(handle, 64, 64, 8, &second, &secondId), IS_SUCCESS);
    EXPECT_GT(id, 0);
    EXPECT_NE(id, secondId);
    const std::size_t bytes = 640 * 480 * 3;
    EXPECT_TRUE(std::all_of(memory, memory + bytes, [](char c) { return c == 0; }));
    std::fill(memory, memory + bytes, '\x7f');  // the whole block is ours to write
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 2);
    EXPECT_EQ(is_FreeImageMem(handle, memory + 1, id), IS_INVALID_MEMORY_POINTER);
    EXPECT_NE(is_FreeImageMem(handle, memory, secondId), IS_SUCCESS);
    EXPECT_NE(is_FreeImageMem(handle, nullptr, id), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 2);
    EXPECT_EQ(is_FreeImageMem(handle, memory, id), IS_SUCCESS);
    EXPECT_NE(is_FreeImageMem(handle, memory, id), IS_SUCCESS) << "freed twice";
    // Refused sizes, depths and outputs allocate nothing.
    EXPECT_NE(is_AllocImageMem(handle, 0, 480, 24, &memory, &id), IS_SUCCESS);
    EXPECT_NE(is_AllocImageMem(handle, 640, -1, 24, &memory, &id), IS_SUCCESS);
    EXPECT_NE(is_AllocImageMem(handle, 640, 480, 12, &memory, &id), IS_SUCCESS);
    EXPECT_NE(is_AllocImageMem(handle, 640, 480, 24, nullptr, &id), IS_SUCCESS);
    EXPECT_NE(is_AllocImageMem(handle, 640, 480, 24, &memory, nullptr), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
}

TEST_F(SimTest, CaptureNeedsAMemoryTheSimulatorGave) {
    const HIDS handle = openCamera();
    EXPECT_EQ(is_CaptureVideo(handle, IS_WAIT), IS_NO_ACTIVE_IMG_MEM);
    EXPECT_FALSE(ueye_sim::state().capturing);
    const ActiveBuffer none = activeBuffer(handle);
    EXPECT_NE(none.status, IS_SUCCESS);
    EXPECT_EQ(none.number, 0);
    EXPECT_EQ(none.inUse, nullptr);
    char* memory = nullptr;
    int id = 0;
    ASSERT_EQ(is_AllocImageMem(handle, 1280, 1024, 24, &memory, &id), IS_SUCCESS);
    char elsewhere[16]{};
    EXPECT_EQ(is_SetImageMem(handle, elsewhere, id), IS_INVALID_MEMORY_POINTER);
    EXPECT_NE(is_AddToSequence(handle, elsewhere, id), IS_SUCCESS);
    // The active memory alone, without a sequence, is enough.
    ASSERT_EQ(is_SetImageMem(handle, memory, id), IS_SUCCESS);
    ASSERT_EQ(is_CaptureVideo(handle, IS_WAIT), IS_SUCCESS);
    EXPECT_TRUE(ueye_sim::state().capturing);
    ASSERT_EQ(is_StopLiveVideo(handle, IS_WAIT), IS_SUCCESS);
    EXPECT_EQ(static_cast<unsigned char>(memory[(1000 * 1280 + 10) * 3]), 255) << "the red bar's red";
}

TEST_F(SimTest, ActiveBufferQueryGivesTheOneSequenceBuffer) {
    const Camera camera = openWithMemory();
    ActiveBuffer b = activeBuffer(camera.handle);
    ASSERT_EQ(b.status, IS_SUCCESS);
    EXPECT_EQ(b.number, 1);
    EXPECT_EQ(b.inUse, camera.memory);
    EXPECT_EQ(b.last, nullptr) << "nothing written yet";
    ASSERT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(2, 10000));
    b = activeBuffer(camera.handle);
    EXPECT_EQ(b.number, 1);
    EXPECT_EQ(b.inUse, camera.memory);
    EXPECT_EQ(b.last, camera.memory);
}

TEST_F(SimTest, ASequenceOfThreeBuffersIsWrittenInTurn) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetColorMode(handle, IS_CM_RGB8_PACKED), IS_SUCCESS);
    char* memories[3]{};
    int ids[3]{};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(is_AllocImageMem(handle, 1280, 1024, 24, &memories[i], &ids[i]), IS_SUCCESS);
        ASSERT_EQ(is_AddToSequence(handle, memories[i], ids[i]), IS_SUCCESS);
    }
    ASSERT_EQ(is_CaptureVideo(handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(4, 10000));
    ASSERT_EQ(is_StopLiveVideo(handle, IS_WAIT), IS_SUCCESS);
    const auto frames = ueye_sim::state().framesCaptured;
    const ActiveBuffer b = activeBuffer(handle);
    ASSERT_EQ(b.status, IS_SUCCESS);
    EXPECT_EQ(b.last, memories[(frames - 1) % 3]);
    EXPECT_EQ(b.number, static_cast<int>(frames % 3) + 1);
    EXPECT_EQ(b.inUse, memories[frames % 3]);
    // Every buffer has received a frame: the red bar shows in each.
    for (char* memory : memories) EXPECT_EQ(static_cast<unsigned char>(memory[600 * 1280 * 3]), 255);
}

TEST_F(SimTest, TheApplicationsOwnMemoryIsWrittenAndOnlyLetGoOf) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetColorMode(handle, IS_CM_RGB8_PACKED), IS_SUCCESS);
    std::vector<char> own(1280 * 1024 * 3, 0), kept(64 * 64, 0);
    int id = 0, keptId = 0;
    EXPECT_NE(is_SetAllocatedImageMem(handle, 1280, 1024, 12, own.data(), &id), IS_SUCCESS);
    EXPECT_NE(is_SetAllocatedImageMem(handle, 1280, 1024, 24, nullptr, &id), IS_SUCCESS);
    EXPECT_NE(is_SetAllocatedImageMem(handle, 1280, 1024, 24, own.data(), nullptr), IS_SUCCESS);
    ASSERT_EQ(is_SetAllocatedImageMem(handle, 1280, 1024, 24, own.data(), &id), IS_SUCCESS);
    EXPECT_NE(is_SetAllocatedImageMem(handle, 1280, 1024, 24, own.data(), &keptId), IS_SUCCESS) << "taken twice";
    ASSERT_EQ(is_SetAllocatedImageMem(handle, 64, 64, 8, kept.data(), &keptId), IS_SUCCESS);
    EXPECT_NE(id, keptId);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 2);
    ASSERT_EQ(is_AddToSequence(handle, own.data(), id), IS_SUCCESS);
    ASSERT_EQ(is_CaptureVideo(handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(2, 10000));
    ASSERT_EQ(is_StopLiveVideo(handle, IS_WAIT), IS_SUCCESS);
    EXPECT_EQ(static_cast<unsigned char>(own[600 * 1280 * 3]), 255) << "the red bar";
    EXPECT_EQ(activeBuffer(handle).last, own.data());
    // Let go of, by a free or by the camera closing: the memory stays the application's.
    ASSERT_EQ(is_FreeImageMem(handle, own.data(), id), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 1);
    ASSERT_EQ(is_ExitCamera(handle), IS_SUCCESS);
    EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
    std::fill(own.begin(), own.end(), '\x7f');
    std::fill(kept.begin(), kept.end(), '\x7f');
}

TEST_F(SimTest, FreeingTheMemoryWhileCaptureWritesIsSafe) {
    for (int round = 0; round < 20; ++round) {
        const Camera camera = openCapturing();
        ASSERT_EQ(is_FreeImageMem(camera.handle, camera.memory, camera.memoryId), IS_SUCCESS);
        EXPECT_EQ(ueye_sim::state().allocatedMemories, 0);
        EXPECT_NE(activeBuffer(camera.handle).status, IS_SUCCESS);
        ASSERT_EQ(is_ExitCamera(camera.handle), IS_SUCCESS);
    }
}

TEST_F(SimTest, AnEightBitMemoryInColorModeIsNeverOverrun) {
    const HIDS handle = openCamera();
    ASSERT_EQ(is_SetColorMode(handle, IS_CM_RGB8_PACKED), IS_SUCCESS);
    char* memory = nullptr;
    int id = 0;
    // 100 bytes a line hold 33 RGB pixels and one spare byte, which stays untouched.
    ASSERT_EQ(is_AllocImageMem(handle, 100, 50, 8, &memory, &id), IS_SUCCESS);
    ASSERT_EQ(is_AddToSequence(handle, memory, id), IS_SUCCESS);
    ASSERT_EQ(is_CaptureVideo(handle, IS_WAIT), IS_SUCCESS);
    ASSERT_TRUE(ueye_sim::waitFrames(2, 10000));
    ASSERT_EQ(is_StopLiveVideo(handle, IS_WAIT), IS_SUCCESS);
    for (int line = 0; line < 50; ++line) EXPECT_EQ(memory[line * 100 + 99], 0) << "line " << line;
    EXPECT_TRUE(std::any_of(memory + 20 * 100, memory + 20 * 100 + 99, [](char c) { return c != 0; }));
}
