// Helpers of the simulator tests: a fixture that starts from a fresh
// simulator, an open camera capturing into one memory, environment changes
// undone at the end of a scope, and reading pixels and the frame counter.
#pragma once

#include "ueye.h"

#include <gtest/gtest.h>
#include <ueye_sim/Control.h>

#include <cstdint>
#include <optional>
#include <string>

namespace simtest {

// Sets an environment variable for one scope, then restores it and resets the simulator.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// The open camera and the one image memory it captures into, as the module sets it up.
struct Camera {
    HIDS handle = 0;
    char* memory = nullptr;
    int memoryId = 0;
    int width = 0;
    int height = 0;
    int bits = 0;
};

// Opens the connected camera (fails the test otherwise).
HIDS openCamera();
// Opens, allocates a full-size memory of the sensor's depth and makes it the only sequence buffer.
Camera openWithMemory();
// Also starts live capture and waits for a first frame.
Camera openCapturing();

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel& other) const { return r == other.r && g == other.g && b == other.b; }
};
std::ostream& operator<<(std::ostream& out, const Pixel& pixel);
Pixel toPixel(ueye_sim::Rgb rgb);
// The pixel at (x, y) of a memory of `width` pixels, `bits` 24 (R, G, B) or 8 (grey).
Pixel pixelAt(const Camera& camera, int x, int y);
// The frame number drawn in the top-left corner of the memory.
std::uint64_t frameCounter(const Camera& camera);

// Stops capture so the memory holds one whole frame, for exact checks.
void stopCapture(const Camera& camera);

}  // namespace simtest

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { ueye_sim::reset(); }
    void TearDown() override { ueye_sim::reset(); }
};
