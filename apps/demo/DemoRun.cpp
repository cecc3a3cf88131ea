#include "DemoRun.h"

#include "CameraReport.h"
#include "CameraSession.h"
#include "CameraSettings.h"
#include "ClockOptimizer.h"
#include "EventPump.h"
#include "Format.h"
#include "RecordingSession.h"
#include "Snapshot.h"
#include "Interrupted.h"

#include <Qel/Qel.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

namespace demo {

namespace {

// Lets capture deliver a few frames, so a picture taken right after the
// camera opened or changed is not blank or stale.
void waitForFreshFrames(const Nimbrel_model::Camera& camera, EventPump& pump, const StopSignal& stop) {
    const double fps = camera.getFrameRate();
    const double ms = fps > 0.0 ? 3000.0 / fps : 100.0;
    pump.runUntil([&] { return stop.raised(); },
                  std::chrono::milliseconds(static_cast<long long>(std::clamp(ms, 100.0, 5000.0))));
    throwIfRaised(stop);
}

void applyPreset(Nimbrel_model::Camera& camera, const DemoOptions& options, std::ostream& out) {
    const std::string file = Qel::HelperFuncs::getAppDir().str() + "res/config.xml";
    if (options.savePreset) {
        camera.saveUserSettings();
        out << "saved the current settings as the user preset of " << camera.getName().str() << " in " << file
            << std::endl;
    }
    if (options.resetPreset) {
        camera.resetUserSettings();
        out << "deleted the user preset of " << camera.getName().str() << " from " << file
            << "; the camera was reopened with the factory values:\n";
        printCameraReport(camera, out);
    }
}

}  // namespace

DemoRun::DemoRun(DemoOptions options, std::ostream& out, bool terminal)
    : options_(std::move(options)), out_(out), terminal_(terminal) {}

void DemoRun::execute() {
    // Declared first so that a signal during the camera's closing is caught too.
    StopSignal stop;
    EventPump pump;
    CameraSession session(options_.camera);
    Nimbrel_model::Camera& camera = session.camera();
    printCameraReport(camera, out_);
    throwIfRaised(stop);

    applySettings(camera, options_, out_);
    if (options_.optimize) optimizePixelClock(camera, pump, stop, out_);
    throwIfRaised(stop);
    applyPreset(camera, options_, out_);
    throwIfRaised(stop);

    std::vector<std::pair<std::string, std::string>> written;
    if (options_.snapshotPath) {
        waitForFreshFrames(camera, pump, stop);
        const std::string path = absolutePath(*options_.snapshotPath);
        SnapshotInfo info = saveSnapshot(camera, path);
        out_ << "snapshot " << path << ": " << info.width << "x" << info.height << " JPEG, " << info.bytes
             << " bytes" << std::endl;
        written.emplace_back("snapshot", path);
    }
    throwIfRaised(stop);
    if (options_.recordPath) {
        RecordingSession recording(camera, pump, stop, out_, terminal_);
        recording.record({*options_.recordPath, options_.recordSeconds, options_.recordFps(), options_.maxSizeMb,
                          options_.replayRate()});
        written.emplace_back("recording", absolutePath(*options_.recordPath));
    }

    session.close();
    out_ << "camera closed" << std::endl;
    for (const auto& [what, path] : written) out_ << what << " saved to " << path << std::endl;
}

}  // namespace demo
