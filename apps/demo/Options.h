// What the command line asks the demo to do.
#pragma once

#include "CommandLine.h"

#include <optional>
#include <string>
#include <vector>

namespace demo {

struct FrameSize {
    int width = 0;
    int height = 0;
};

struct DemoOptions {
    bool help = false;
    bool info = false;  // the camera's settings and ranges, nothing else
    std::optional<std::string> camera;
    std::optional<std::string> appDir;

    std::optional<double> exposureMs;
    std::optional<int> masterGain;
    std::optional<double> frameRate;  // the camera's
    std::optional<FrameSize> aoi;
    bool optimize = false;
    bool savePreset = false;
    bool resetPreset = false;

    std::optional<std::string> snapshotPath;
    std::optional<std::string> recordPath;
    double recordSeconds;
    double maxSizeMb;
    std::optional<double> recordFps;  // default: the camera's rate
    std::optional<long> replayFps;    // default: the recording rate
};

// The demo's options and help.
const host::CommandLine& commandLine();

// Arguments without the program's name; host::UsageError for a malformed
// command line. With nothing asked but a camera or a folder, the demo does
// its default job: a snapshot and a short recording.
DemoOptions parseOptions(const std::vector<std::string>& args);

}  // namespace demo
