#include "Options.h"

#include "SharedOptions.h"
#include "Snapshot.h"

#include <wx/utils.h>

#include <cmath>

namespace viewer {

namespace {

namespace shared = host::options;
using host::OptionSpec;
using host::UsageError;

const OptionSpec kQuitAfter =
    OptionSpec::number("quit-after", "SECONDS", "close the viewer cleanly after SECONDS", {0.0, 86400.0, false});
const OptionSpec kScreenshot =
    OptionSpec::text("screenshot", "FILE", "save the picture area as a PNG FILE when the viewer closes");
const OptionSpec kZoom = OptionSpec::text("zoom", "SCALE", "picture scale at start: fit, 1, 2 or 4");
const OptionSpec kSelfTest = OptionSpec::flag(
    "selftest-control", "drive a few controls through their event handlers, print what the camera reports, quit");

wxString wide(const std::optional<std::string>& text) { return wxString::FromUTF8(text.value_or("")); }

host::CommandLine makeCommandLine() {
    host::CommandLine line("nimbrel-viewer", "A window that shows and drives the camera through the module.\n",
                           R"(
Scripted runs (--quit-after, --record, --snapshot, --selftest-control) open no
dialog. Ctrl-C, SIGTERM or SIGHUP close the window cleanly (a recording is
stopped with a complete file). Exit status: 0 done, 1 a camera, file or
settings failure (scripted runs: anything that failed), 2 a bad command line,
130 stopped by a signal.
)");
    host::OptionSpec snapshot = shared::snapshot;
    snapshot.help += " (.png or .jpg, at full resolution) and quit";
    host::OptionSpec record = shared::record;
    record.help += ": start at once, quit when the camera ends it";
    line.section("Camera:").add(shared::camera).add(shared::appDir).add(shared::fps).add(shared::gain);
    line.add(shared::savePreset).add(shared::resetPreset);
    line.section("Recording:")
        .add(record)
        .add(shared::seconds)
        .add(shared::recordFps)
        .add(shared::replay)
        .add(shared::maxSize);
    line.section("Window:").add(kQuitAfter).add(snapshot).add(kScreenshot).add(kZoom).add(kSelfTest);
    return line;
}

int zoomFrom(const std::string& text) {
    if (text == "fit") return 0;
    for (int scale : {1, 2, 4})
        if (text == std::to_string(scale)) return scale;
    throw UsageError("--zoom takes fit, 1, 2 or 4, not '" + text + "'");
}

}  // namespace

bool Options::scripted() const {
    wxString value;
    return quitAfter >= 0.0 || selfTestControl || !record.empty() || !snapshot.empty() ||
           wxGetEnv("NIMBREL_NO_DIALOGS", &value);
}

const host::CommandLine& commandLine() {
    static const host::CommandLine line = makeCommandLine();
    return line;
}

Options parseOptions(const std::vector<std::string>& args) {
    const host::ParsedOptions parsed = commandLine().parse(args);
    Options o;
    o.help = parsed.help;
    if (o.help) return o;
    parsed.refuseTogether(shared::savePreset.name, shared::resetPreset.name);
    o.camera = parsed.text(shared::camera.name);
    o.appDir = parsed.text(shared::appDir.name);
    o.quitAfter = parsed.number(kQuitAfter.name).value_or(-1.0);
    o.screenshot = wide(parsed.text(kScreenshot.name));
    o.record = wide(parsed.text(shared::record.name));
    o.recordSeconds = parsed.number(shared::seconds.name).value_or(shared::kDefaultSeconds);
    o.recordFps = parsed.number(shared::recordFps.name);
    if (auto replay = parsed.number(shared::replay.name)) o.replayFps = std::lround(*replay);
    o.maxSizeMb = parsed.number(shared::maxSize.name).value_or(shared::kDefaultMaxSizeMb);
    o.selfTestControl = parsed.has(kSelfTest.name);
    o.frameRate = parsed.number(shared::fps.name).value_or(-1.0);
    o.gain = static_cast<int>(parsed.number(shared::gain.name).value_or(-1.0));
    o.savePreset = parsed.has(shared::savePreset.name);
    o.resetPreset = parsed.has(shared::resetPreset.name);
    o.snapshot = wide(parsed.text(shared::snapshot.name));
    o.zoom = zoomFrom(parsed.text(kZoom.name).value_or("fit"));
    if (!o.snapshot.empty() && snapshotTypeFor(o.snapshot) == wxBITMAP_TYPE_INVALID)
        throw UsageError("--snapshot needs a file name ending in .png, .jpg or .jpeg");
    shared::refuseRecordingOptionsWithout(parsed, !o.record.empty());
    return o;
}

}  // namespace viewer
