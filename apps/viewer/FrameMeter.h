// The camera's own frame rate, measured from the frames' device timestamps
// over the last second, so that it shows what the camera delivers rather than
// what it was asked for.
#pragma once

#include <cstdint>
#include <deque>

namespace viewer {

class FrameMeter {
public:
    // A frame as the stream numbered and timed it (nanoseconds).
    void add(std::uint64_t sequence, std::uint64_t deviceTimeNs);
    // Frames per second over the frames of the last second; 0 before two.
    double rate() const;
    void clear() { seen_.clear(); }

private:
    struct Seen {
        std::uint64_t sequence;
        std::uint64_t time;
    };
    std::deque<Seen> seen_;
};

}  // namespace viewer
