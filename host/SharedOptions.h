// The options that mean the same in every host that has them: one name, one
// meaning, one range and one default. A host adds the ones it has to its
// CommandLine beside its own.
#pragma once

#include "CommandLine.h"

namespace host::options {

extern const OptionSpec camera;       // --camera NAME: the simulated camera to connect
extern const OptionSpec appDir;       // --app-dir DIR: the folder holding res/config.xml
extern const OptionSpec fps;          // --fps N: the camera's frame rate
extern const OptionSpec gain;         // --gain N: the camera's master gain
extern const OptionSpec record;       // --record FILE
extern const OptionSpec seconds;      // --seconds N: the recording's length
extern const OptionSpec recordFps;    // --record-fps N: frames per second taken into the file
extern const OptionSpec replay;       // --replay N: frames per second written for playback
extern const OptionSpec maxSize;      // --max-size MB
extern const OptionSpec savePreset;   // --save-preset
extern const OptionSpec resetPreset;  // --reset-preset
extern const OptionSpec snapshot;     // --snapshot FILE

constexpr double kDefaultSeconds = 5.0;
constexpr double kDefaultMaxSizeMb = 1024.0;
// The highest frame rate any option takes.
constexpr double kMaxFps = 1000.0;

// UsageError naming the first option given that means nothing without a
// recording (--seconds, --record-fps, --replay, --max-size), unless `recording`;
// with one, UsageError for a --record target that is no regular file (a FIFO,
// a device, a folder) and for a --record-fps that takes no frame within --seconds.
void refuseRecordingOptionsWithout(const ParsedOptions& parsed, bool recording);

// The replay rate a recording at `recordFps` gets when --replay is not
// given: the recording rate, whole, at least 1.
long defaultReplay(double recordFps);

}  // namespace host::options
