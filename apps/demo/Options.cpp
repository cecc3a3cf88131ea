#include "Options.h"

#include "SharedOptions.h"
#include "Snapshot.h"

#include <cmath>
#include <cstdio>

namespace demo {

namespace {

namespace shared = host::options;
using host::OptionSpec;
using host::UsageError;

const OptionSpec kAoi = OptionSpec::text("aoi", "WxH", "area of interest, e.g. 640x480 (centred by the camera)");
const OptionSpec kExposure =
    OptionSpec::number("exposure", "MS", "exposure time in milliseconds", {0.0, 10000.0, true});
const OptionSpec kOptimize = OptionSpec::flag(
    "optimize",
    "let the camera pick its best pixel clock and frame rate (runs on a worker thread; the demo waits for its end)");

const OptionSpec kInfo =
    OptionSpec::flag("info",
                     "print the camera's settings, the range the camera accepts for each and the connected "
                     "cameras, then close it");

constexpr const char* kDefaultSnapshot = "snapshot.jpg";
constexpr const char* kDefaultRecording = "demo.avi";

FrameSize parseSize(const std::string& text) {
    FrameSize size;
    char cross = 0;
    char rest = 0;
    const int read = std::sscanf(text.c_str(), "%d%c%d%c", &size.width, &cross, &size.height, &rest);
    if (read != 3 || (cross != 'x' && cross != 'X') || size.width <= 0 || size.height <= 0)
        throw UsageError("--aoi takes WIDTHxHEIGHT with a positive width and height, not '" + text + "'");
    return size;
}

host::CommandLine makeCommandLine() {
    host::CommandLine line("nimbrel-demo",
                           "Opens the camera, prints its sensor and current settings, applies what the\n"
                           "options ask, and can save a snapshot and record an AVI file.\n\n"
                           "Without options it opens the default camera, saves snapshot.jpg and records a\n"
                           "5-second demo.avi at the camera's frame rate in the current directory.\n",
                           R"(
Ctrl-C, SIGTERM or SIGHUP (a closed terminal) during a recording stops it and
leaves a complete file; at any other time they close the camera and end the
demo. A closed pipe on the output does not stop a recording.

A recording of L seconds at R frames per second holds L x R frames or one more:
the length is counted down in steps of 1/R s, in floating point.

Each setting is checked against the range the open camera reports (--info
lists them) before it reaches the camera; a value outside it ends the demo.

Exit status: 0 done, 1 a camera, file or settings failure, 2 a bad command
line (the camera is not opened) or a value outside the camera's range, 130
stopped by a signal.
)");
    line.section("Camera:").add(shared::camera).add(shared::appDir).add(kInfo);
    line.section("Settings (each prints the value the camera reports afterwards):")
        .add(kAoi)
        .add(shared::fps)
        .add(kExposure)
        .add(shared::gain)
        .add(kOptimize)
        .add(shared::savePreset)
        .add(shared::resetPreset);
    host::OptionSpec snapshot = shared::snapshot;
    snapshot.help += " (PNG or JPEG by its extension: .png, .jpg or .jpeg)";
    line.section("Output:")
        .add(snapshot)
        .add(shared::record)
        .add(shared::seconds)
        .add(shared::recordFps)
        .add(shared::replay)
        .add(shared::maxSize);
    return line;
}

}  // namespace

const host::CommandLine& commandLine() {
    static const host::CommandLine line = makeCommandLine();
    return line;
}

DemoOptions parseOptions(const std::vector<std::string>& args) {
    const host::ParsedOptions parsed = commandLine().parse(args);
    DemoOptions o;
    o.help = parsed.help;
    o.recordSeconds = parsed.number(shared::seconds.name).value_or(shared::kDefaultSeconds);
    o.maxSizeMb = parsed.number(shared::maxSize.name).value_or(shared::kDefaultMaxSizeMb);
    if (o.help) return o;
    parsed.refuseTogether(shared::savePreset.name, shared::resetPreset.name);
    o.camera = parsed.text(shared::camera.name);
    o.appDir = parsed.text(shared::appDir.name);
    o.exposureMs = parsed.number(kExposure.name);
    if (auto gain = parsed.number(shared::gain.name)) o.masterGain = static_cast<int>(*gain);
    o.frameRate = parsed.number(shared::fps.name);
    if (auto aoi = parsed.text(kAoi.name)) o.aoi = parseSize(*aoi);
    o.optimize = parsed.has(kOptimize.name);
    o.info = parsed.has(kInfo.name);
    o.savePreset = parsed.has(shared::savePreset.name);
    o.resetPreset = parsed.has(shared::resetPreset.name);
    o.snapshotPath = parsed.text(shared::snapshot.name);
    if (o.snapshotPath && !pictureFormatFor(*o.snapshotPath))
        throw UsageError("--snapshot needs a file name ending in .png, .jpg or .jpeg, not '" + *o.snapshotPath + "'");
    o.recordPath = parsed.text(shared::record.name);
    o.recordFps = parsed.number(shared::recordFps.name);
    if (auto replay = parsed.number(shared::replay.name)) o.replayFps = std::lround(*replay);

    const bool asksSomething = o.info || o.exposureMs || o.masterGain || o.frameRate || o.aoi || o.optimize ||
                               o.savePreset || o.resetPreset || o.snapshotPath || o.recordPath;
    if (!asksSomething) {
        o.snapshotPath = kDefaultSnapshot;
        o.recordPath = kDefaultRecording;
    } else {
        shared::refuseRecordingOptionsWithout(parsed, o.recordPath.has_value());
    }
    return o;
}

}  // namespace demo
