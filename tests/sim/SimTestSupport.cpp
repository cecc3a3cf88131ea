#include "SimTestSupport.h"

#include <cstdlib>
#include <ostream>

namespace simtest {

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_)
        ::setenv(name_.c_str(), old_->c_str(), 1);
    else
        ::unsetenv(name_.c_str());
    ueye_sim::reset();
}

HIDS openCamera() {
    HIDS handle = 0;
    EXPECT_EQ(is_InitCamera(&handle, nullptr), IS_SUCCESS);
    EXPECT_NE(handle, 0u);
    return handle;
}

Camera openWithMemory() {
    Camera camera;
    camera.handle = openCamera();
    SENSORINFO info{};
    EXPECT_EQ(is_GetSensorInfo(camera.handle, &info), IS_SUCCESS);
    camera.width = static_cast<int>(info.nMaxWidth);
    camera.height = static_cast<int>(info.nMaxHeight);
    const bool color = ueye_sim::findModel(info.strSensorName)->color;
    camera.bits = color ? 24 : 8;
    EXPECT_EQ(is_SetColorMode(camera.handle, color ? IS_CM_RGB8_PACKED : IS_CM_MONO8), IS_SUCCESS);
    EXPECT_EQ(
        is_AllocImageMem(camera.handle, camera.width, camera.height, camera.bits, &camera.memory, &camera.memoryId),
        IS_SUCCESS);
    EXPECT_EQ(is_SetImageMem(camera.handle, camera.memory, camera.memoryId), IS_SUCCESS);
    EXPECT_EQ(is_ClearSequence(camera.handle), IS_SUCCESS);
    EXPECT_EQ(is_AddToSequence(camera.handle, camera.memory, camera.memoryId), IS_SUCCESS);
    return camera;
}

Camera openCapturing() {
    Camera camera = openWithMemory();
    EXPECT_EQ(is_CaptureVideo(camera.handle, IS_WAIT), IS_SUCCESS);
    EXPECT_GE(ueye_sim::state().framesCaptured, 1u);
    return camera;
}

std::ostream& operator<<(std::ostream& out, const Pixel& pixel) {
    return out << '(' << pixel.r << ", " << pixel.g << ", " << pixel.b << ')';
}

Pixel toPixel(ueye_sim::Rgb rgb) { return {rgb.r, rgb.g, rgb.b}; }

Pixel pixelAt(const Camera& camera, int x, int y) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(camera.memory);
    const int pixelBytes = camera.bits / 8;
    const auto* p = bytes + (static_cast<std::size_t>(y) * camera.width + x) * pixelBytes;
    if (pixelBytes == 1) return {p[0], p[0], p[0]};
    return {p[0], p[1], p[2]};
}

std::uint64_t frameCounter(const Camera& camera) {
    std::uint64_t value = 0;
    for (int bit = 0; bit < 32; ++bit) value = (value << 1) | (pixelAt(camera, bit * 16 + 8, 8).g > 127 ? 1 : 0);
    return value;
}

void stopCapture(const Camera& camera) { ASSERT_EQ(is_StopLiveVideo(camera.handle, IS_WAIT), IS_SUCCESS); }

}  // namespace simtest
