#include "Sweep.h"

#include <ueye_sim/Control.h>

#include "Video.h"

#include <functional>

namespace sweep {

using testsupport::thrownText;

Session::Session(const std::string& sensor) {
    ueye_sim::reset();
    threads_ = std::make_unique<testsupport::ThreadWatch>();
    ueye_sim::connectCamera(sensor);
    app_ = std::make_unique<testsupport::AppDir>();
    config()->load();
    config()->setConfSaved(true);
}

Session::~Session() {
    // A fresh Camera for the next run: the colour flag never comes back once cleared.
    delete Nimbrel_model::Camera::getInstance();
    ueye_sim::reset();
    threads_->waitForOthersToEnd();
    app_.reset();
}

std::string Session::close() {
    ueye_sim::clearScripts();
    std::string error;
    for (int tries = 0; tries < 2 && ueye_sim::openAviInstances() > 0; ++tries)
        error = thrownText([&] { camera()->stopRecording(); });
    if (ueye_sim::openAviInstances() > 0) return "the recording could not be stopped: " + error;
    for (int tries = 0; tries < 2 && ueye_sim::state().open; ++tries) error = thrownText([&] { camera()->exit(); });
    if (ueye_sim::state().open) return "the camera could not be closed: " + error;
    return "";
}

std::string Session::leftovers() const {
    const auto state = ueye_sim::state();
    std::string found;
    if (state.open) found += " camera still open;";
    if (state.capturing) found += " still capturing;";
    if (state.allocatedMemories != 0) found += " " + std::to_string(state.allocatedMemories) + " image memories;";
    if (ueye_sim::openAviInstances() != 0)
        found += " " + std::to_string(ueye_sim::openAviInstances()) + " AVI instances;";
    return found;
}

std::string Session::reopen() {
    return openAndCheck([&] { camera()->init(); });
}

std::string Session::resetThenReopen() {
    return openAndCheck([&] { camera()->resetUserSettings(); });
}

std::string Session::openAndCheck(const std::function<void()>& open) {
    const std::string error = thrownText(open);
    if (!error.empty()) return "opening failed: " + error;
    std::string found;
    if (!ueye_sim::state().capturing) found += " not capturing;";
    if (!ueye_sim::waitFrames(1, 10000)) found += " no frame captured;";
    unsigned char* picture = camera()->getActiveImage();
    if (!picture) found += " no picture;";
    if (!camera()->isColor()) delete[] picture;  // a monochrome picture is the caller's
    // One frame recorded, with a fresh file each time.
    const std::string file = files_.file("reopen" + std::to_string(++reopens_) + ".avi");
    const std::string recorded = thrownText([&] {
        camera()->startRecording(&listener_, file, 0, 25, 100, 25);
        testsupport::recordTick(camera());
        camera()->stopRecording();
    });
    camera()->removeListener(&listener_);
    if (!recorded.empty()) found += " recording failed: " + recorded;
    if (recorded.empty() && testsupport::aviHeaderFrames(file) != 1) found += " the recording does not hold one frame;";
    const std::string closing = thrownText([&] { camera()->exit(); });
    if (!closing.empty()) found += " exit failed: " + closing;
    return found;
}

}  // namespace sweep
