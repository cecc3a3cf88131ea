// Counts the video frames in an AVI file while it is being written, reading
// only what was added since the last count.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

namespace host {

class AviFrameCounter {
public:
    explicit AviFrameCounter(std::string path) : path_(std::move(path)) {}
    // Reads the chunks added since the last call; returns the frames so far.
    std::uint64_t update();
    std::uint64_t frames() const { return frames_; }
    // Frames per second at which frames reached the file, measured between
    // the first and the latest count that grew: the writer flushes in
    // bursts, so dividing by the time since the start would read low. 0
    // until two such counts were seen.
    double framesPerSecond() const;

private:
    using Clock = std::chrono::steady_clock;
    struct Sample {
        std::uint64_t frames = 0;
        Clock::time_point time;
    };

    std::string path_;
    std::uint64_t offset_ = 0;
    std::uint64_t frames_ = 0;
    Sample first_;
    Sample latest_;
};

// The frame count that a finished file's headers declare: the OpenDML total
// when present (files past 1 GiB), else the main AVI header's. 0 when the
// file has neither.
std::uint64_t declaredFrameCount(const std::string& path);

// The frames a recording of `seconds` (above 0) at `fps` holds when its length
// ends it: this many or one more, since the module counts the length down in
// steps of 1/fps in floating point.
std::uint64_t framesForLength(double seconds, double fps);

}  // namespace host
