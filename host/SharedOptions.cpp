#include "SharedOptions.h"

#include "Format.h"
#include "RecordingTarget.h"

#include <algorithm>
#include <cmath>

namespace host::options {

namespace {
constexpr Range kRate{0.0, kMaxFps, true};
}  // namespace

const OptionSpec camera = OptionSpec::text(
    "camera", "NAME",
    "simulated camera to connect before opening it (SIM1280-C, SIM1280-M, SIM2592-C, SIM4912-M, SIM1284-C, "
    "SIM1284-M; the environment variable UESIM_CAMERA chooses it too), or the SDK's id of the camera to open "
    "(1, 2, ...)");
const OptionSpec appDir =
    OptionSpec::text("app-dir", "DIR",
                     "the folder holding res/config.xml (default: the program's folder while it can be written, else "
                     "~/.config/nimbrel-model/)");
const OptionSpec fps = OptionSpec::number("fps", "N", "the camera's frame rate, frames per second", kRate);
const OptionSpec gain =
    OptionSpec::whole("gain", "N", "the camera's master gain (0 to 100); the colour gains stay", {0.0, 100.0, false});
const OptionSpec record = OptionSpec::text("record", "FILE", "record an AVI file (Motion JPEG)");
const OptionSpec seconds =
    OptionSpec::number("seconds", "N", "recording length in seconds (default 5; 0: until the size limit or a stop)",
                       {0.0, 86400.0, false});
const OptionSpec recordFps = OptionSpec::number(
    "record-fps", "N", "frames per second taken into the recording (default: the camera's rate)", kRate);
const OptionSpec replay = OptionSpec::whole(
    "replay", "N", "frames per second written into the file for playback (default: the recording rate)",
    {1.0, kMaxFps, false});
const OptionSpec maxSize =
    OptionSpec::number("max-size", "MB", "recording size limit in megabytes (default 1024)", {0.0, 1048576.0, true});
const OptionSpec savePreset = OptionSpec::flag("save-preset", "store the camera's settings as its user preset");
const OptionSpec resetPreset = OptionSpec::flag(
    "reset-preset",
    "delete the camera's user preset and reopen it with the factory values (also when the preset keeps the camera "
    "from opening)");
const OptionSpec snapshot = OptionSpec::text("snapshot", "FILE", "save the live picture as FILE");

void refuseUnusableRecording(const ParsedOptions& parsed) {
    if (const auto path = parsed.text(record.name)) {
        if (const std::string problem = recordingTargetProblem(*path); !problem.empty())
            throw UsageError("--record cannot write there: " + problem);
    }
    const double length = parsed.number(seconds.name).value_or(kDefaultSeconds);
    const auto rate = parsed.number(recordFps.name);
    // The first frame is taken one frame time after the start.
    if (rate && length > 0.0 && *rate * length < 1.0)
        throw UsageError("--record-fps " + number(*rate) + " takes no frame within " + number(length) +
                         " s: it needs at least " + number(1.0 / length));
}

void refuseRecordingOptionsWithout(const ParsedOptions& parsed, bool recording) {
    if (recording) {
        refuseUnusableRecording(parsed);
        return;
    }
    for (const OptionSpec* option : {&seconds, &recordFps, &replay, &maxSize})
        if (parsed.has(option->name))
            throw UsageError("--" + option->name + " only applies to a recording: add --record FILE");
}

long defaultReplay(double recordFps) { return std::max(1L, std::lround(recordFps)); }

}  // namespace host::options
