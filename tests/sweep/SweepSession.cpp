#include "SweepSession.h"

#include <Qel/Qel.h>
#include <ueye_sim/Control.h>

#include <chrono>
#include <exception>
#include <filesystem>
#include <functional>
#include <thread>

namespace sweep {

namespace {

int threadCount() {
    int count = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end; it.increment(error))
        ++count;
    return count;
}

// Runs `action`; the text of its exception, or "".
std::string attempt(const std::function<void()>& action) {
    try {
        action();
        return "";
    } catch (const Qel::Exception& e) {
        return e.getMessage().str();
    } catch (const std::exception& e) {
        return e.what();
    }
}

}  // namespace

Session::Session(const std::string& sensor) {
    ueye_sim::reset();
    // A sanitizer starts a helper thread of its own with the first thread: count it in.
    std::thread([] {}).join();
    threadsBefore_ = threadCount();
    ueye_sim::connectCamera(sensor);
    app_ = std::make_unique<testsupport::AppDir>();
    config()->load();
    config()->setConfSaved(true);
}

Session::~Session() {
    // A fresh Camera for the next run: the colour flag never comes back once cleared.
    delete Nimbrel_model::Camera::getInstance();
    ueye_sim::reset();
    // A detached optimisation thread finishes a moment after optimizeEnd.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (threadCount() > threadsBefore_ && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    app_.reset();
}

std::string Session::close() {
    ueye_sim::clearScripts();
    std::string error;
    for (int tries = 0; tries < 2 && ueye_sim::openAviInstances() > 0; ++tries)
        error = attempt([&] { camera()->stopRecording(); });
    if (ueye_sim::openAviInstances() > 0) return "the recording could not be stopped: " + error;
    for (int tries = 0; tries < 2 && ueye_sim::state().open; ++tries)
        error = attempt([&] { camera()->exit(); });
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

std::string Session::reopen() { return openAndCheck([&] { camera()->init(); }); }

std::string Session::resetThenReopen() { return openAndCheck([&] { camera()->resetUserSettings(); }); }

std::string Session::openAndCheck(const std::function<void()>& open) {
    const std::string error = attempt(open);
    if (!error.empty()) return "opening failed: " + error;
    std::string found;
    if (!ueye_sim::state().capturing) found += " not capturing;";
    if (!ueye_sim::waitFrames(1, 10000)) found += " no frame captured;";
    unsigned char* picture = camera()->getActiveImage();
    if (!picture) found += " no picture;";
    if (!camera()->isColor()) delete[] picture;  // a monochrome picture is the caller's
    const std::string closing = attempt([&] { camera()->exit(); });
    if (!closing.empty()) found += " exit failed: " + closing;
    return found;
}

}  // namespace sweep
