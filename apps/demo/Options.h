// What the command line asks the demo to do.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class wxCmdLineParser;

namespace demo {

struct FrameSize {
    int width = 0;
    int height = 0;
};

struct DemoOptions {
    bool help = false;
    std::optional<std::string> camera;

    std::optional<double> exposureMs;
    std::optional<int> masterGain;
    std::optional<double> frameRate;
    std::optional<FrameSize> aoi;
    bool optimize = false;
    bool savePreset = false;
    bool resetPreset = false;

    std::optional<std::string> snapshotPath;
    std::optional<std::string> recordPath;
    double recordSeconds = 5.0;
    double maxSizeMb = 1024.0;
    std::optional<long> replayFps;

    // Frames per second taken into the recording.
    double recordFps() const;
    // Frames per second written into the file for playback.
    long replayRate() const;
};

// A malformed command line; main turns it into exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The options, for wxCmdLineParser's parsing and generated help.
void describeOptions(wxCmdLineParser& parser);

// Arguments without the program name. With nothing asked but a camera, the
// demo does its default job: a snapshot and a short recording.
DemoOptions parseOptions(const std::vector<std::string>& args);

}  // namespace demo
