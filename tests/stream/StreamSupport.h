// What the frame stream tests share: a camera fixture with stamped frames and
// the check that a frame is one whole frame.
#pragma once

#include <Nimbrel_model/FrameStream.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "CameraFixture.h"

namespace testsupport {

using Nimbrel_model::Frame;
using Nimbrel_model::FrameStream;

// The simulator stamps each frame's number into its first and last line.
class StreamFixture : public CameraFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    FrameStream* stream() { return FrameStream::getInstance(); }
};

// The number stamped at `offset` bytes into a picture.
std::uint64_t stampAt(const unsigned char* bytes, std::size_t offset);

// "" when the frame's first and last line both carry its sequence number,
// else what is wrong.
std::string wholeFrameProblem(const Frame& frame);

// Keeps one core busy until destroyed.
class CpuHog {
public:
    CpuHog();
    ~CpuHog();
    CpuHog(const CpuHog&) = delete;
    CpuHog& operator=(const CpuHog&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace testsupport
