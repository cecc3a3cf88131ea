#include "StreamSupport.h"

#include <cstdlib>

namespace testsupport {

void StreamFixture::SetUp() {
    setenv("UESIM_STAMP", "1", 1);
    CameraFixture::SetUp();
}

void StreamFixture::TearDown() {
    stream()->stop();
    unsetenv("UESIM_STAMP");
    unsetenv("UESIM_CAMERAS");
    CameraFixture::TearDown();
}

std::uint64_t stampAt(const unsigned char* bytes, std::size_t offset) {
    std::uint64_t number = 0;
    for (int i = 7; i >= 0; --i) number = number << 8 | bytes[offset + static_cast<std::size_t>(i)];
    return number;
}

std::string wholeFrameProblem(const Frame& frame) {
    const std::uint64_t first = stampAt(frame.data(), 0);
    const std::uint64_t last = stampAt(frame.data(), frame.stride() * static_cast<std::size_t>(frame.height() - 1));
    if (first == frame.sequence() && last == frame.sequence()) return "";
    return "frame " + std::to_string(frame.sequence()) + " of " + std::to_string(frame.width()) + "x" +
           std::to_string(frame.height()) + " holds " + std::to_string(first) + " and " + std::to_string(last);
}

CpuHog::CpuHog()
    : thread_([this] {
          volatile std::uint64_t spin = 0;
          while (!stop_.load(std::memory_order_relaxed)) spin = spin + 1;
      }) {}

CpuHog::~CpuHog() {
    stop_ = true;
    thread_.join();
}

}  // namespace testsupport
