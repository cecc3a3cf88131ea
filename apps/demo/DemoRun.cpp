#include "DemoRun.h"

#include "CameraReport.h"
#include "CameraSession.h"
#include "CameraSettings.h"
#include "ClockOptimizer.h"
#include "EventPump.h"
#include "Format.h"
#include "RecordingSession.h"
#include "SettingsFolder.h"
#include "SettingsLock.h"
#include "Snapshot.h"
#include "StopSignal.h"

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

namespace demo {

namespace {

using host::StopSignal;

std::string configFile() { return Qel::HelperFuncs::getAppDir().str() + "res/config.xml"; }

// Lets capture deliver a few frames, so a picture taken right after the
// camera opened or changed is not blank or stale.
void waitForFreshFrames(const Nimbrel_model::Camera& camera, host::EventPump& pump) {
    const double fps = camera.getFrameRate();
    const double ms = fps > 0.0 ? 3000.0 / fps : 100.0;
    pump.runUntil(StopSignal::raised, std::chrono::milliseconds(static_cast<long long>(std::clamp(ms, 100.0, 5000.0))));
    StopSignal::throwIfRaised();
}

void applyPreset(Nimbrel_model::Camera& camera, const DemoOptions& options, bool alreadyReset, std::ostream& out) {
    if (options.savePreset) {
        camera.saveUserSettings();
        out << "saved the current settings as the user preset of " << camera.getName().str() << " in " << configFile()
            << std::endl;
    }
    if (options.resetPreset && !alreadyReset) {
        camera.resetUserSettings();
        out << "deleted the user preset of " << camera.getName().str() << " from " << configFile()
            << "; the camera was reopened with the factory values:\n";
        printCameraReport(camera, out);
    }
}

}  // namespace

DemoRun::DemoRun(DemoOptions options, std::ostream& out, bool terminal)
    : options_(std::move(options)), out_(out), terminal_(terminal) {}

void DemoRun::execute() {
    host::EventPump pump;
    const host::SettingsFolder folder = host::useSettingsFolder(options_.appDir);
    if (const std::string notice = host::seededNotice(folder); !notice.empty()) out_ << notice << std::endl;
    if (options_.savePreset || options_.resetPreset) {
        // Locked before it is read: what this run saves starts from the file as the last writer left it.
        host::toolSettingsLock() = host::SettingsLock(configFile(), host::programName());
        host::toolSettingsLock().requireWritable(options_.savePreset ? "save the user preset"
                                                                     : "delete the user preset");
    }
    Nimbrel_model::Config::getInstance()->load();
    StopSignal::throwIfRaised();

    CameraSession session(options_.resetPreset);
    Nimbrel_model::Camera& camera = session.camera();
    if (session.presetReset())
        out_ << "the camera did not open with its user preset; deleted the preset of " << camera.getName().str()
             << " from " << configFile() << " and opened the camera with the factory values" << std::endl;
    printCameraReport(camera, out_);
    if (options_.info) {
        printRanges(camera, out_);
        printConnectedCameras(out_);
    }
    StopSignal::throwIfRaised();

    applySettings(camera, options_, out_);
    if (options_.optimize) optimizePixelClock(camera, pump, out_);
    StopSignal::throwIfRaised();
    applyPreset(camera, options_, session.presetReset(), out_);
    StopSignal::throwIfRaised();

    std::vector<std::pair<std::string, std::string>> written;
    if (options_.snapshotPath) {
        waitForFreshFrames(camera, pump);
        const std::string path = host::absolutePath(*options_.snapshotPath);
        SnapshotInfo info = saveSnapshot(camera, path);
        out_ << "snapshot " << path << ": " << info.width << "x" << info.height << " " << info.format << ", "
             << info.bytes << " bytes" << std::endl;
        written.emplace_back("snapshot", path);
    }
    StopSignal::throwIfRaised();
    if (options_.recordPath) {
        RecordingSession recording(camera, pump, out_, terminal_);
        recording.record(
            {*options_.recordPath, options_.recordSeconds, options_.recordFps, options_.maxSizeMb, options_.replayFps});
        written.emplace_back("recording", host::absolutePath(*options_.recordPath));
    }

    session.close();
    out_ << "camera closed" << std::endl;
    for (const auto& [what, path] : written) out_ << what << " saved to " << path << std::endl;
    StopSignal::throwIfRaised();  // a signal that ended the recording ends the demo too
}

}  // namespace demo
