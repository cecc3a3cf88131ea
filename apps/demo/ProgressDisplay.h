// Shows how a recording advances: a bar redrawn in place on a terminal,
// plain lines once a second otherwise (logs, pipes, tests).
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace demo {

struct RecordingProgress {
    std::uint64_t frames = 0;      // frames found in the file so far
    double recordedSeconds = 0.0;  // frames at the recording rate
    double elapsedSeconds = 0.0;   // wall-clock time since the start
    std::uint64_t fileBytes = 0;
    double framesPerSecond = 0.0;  // rate at which frames reach the file
};

class ProgressDisplay {
public:
    // targetSeconds 0: no length limit, so no bar.
    ProgressDisplay(std::ostream& out, bool terminal, double targetSeconds);
    // Ends an open bar line, also when an error leaves the recording early.
    ~ProgressDisplay();
    ProgressDisplay(const ProgressDisplay&) = delete;
    ProgressDisplay& operator=(const ProgressDisplay&) = delete;

    // Whether a new reading is worth taking now.
    bool due() const;
    void show(const RecordingProgress& progress);
    // Ends a bar's line so the next output starts on its own line.
    void finish();

private:
    std::string barLine(const RecordingProgress& progress) const;
    std::string plainLine(const RecordingProgress& progress) const;

    std::ostream& out_;
    bool terminal_;
    double targetSeconds_;
    std::chrono::steady_clock::time_point lastShown_;
    bool shownOnce_ = false;
    bool lineOpen_ = false;
    std::size_t lastWidth_ = 0;
};

}  // namespace demo
