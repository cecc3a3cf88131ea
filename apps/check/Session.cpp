#include "Session.h"

#include "CameraOpener.h"

#include "Sandbox.h"

#include <Qel/Qel.h>
#include <wx/thread.h>

#include <cmath>
#include <functional>

namespace check {

void Listener::optimizeEnd() {
    optimizeEndOnMainThread = wxThread::IsMain();
    ++optimizeEnds;
}

void Listener::clear() {
    recordEnds = 0;
    optimizeEnds = 0;
    optimizeEndOnMainThread = false;
}

Session::Session(host::EventPump& pump, Sandbox& sandbox)
    : camera_(Nimbrel_model::Camera::getInstance()),
      config_(Nimbrel_model::Config::getInstance()),
      pump_(pump),
      sandbox_(sandbox),
      savedAtStart_(config_->getConfSaved()) {}

Session::~Session() { camera_->removeListener(&listener_); }

Nimbrel_model::Camera& Session::open() {
    if (open_) return *camera_;
    try {
        host::openCamera(*camera_);
    } catch (const Qel::Exception& error) {
        const std::string hint = host::presetHint(*camera_, "nimbrel-demo --reset-preset (or the viewer's Reset)");
        if (hint.empty()) throw;
        throw CheckFailure(error.getMessage().str() + "; " + hint);
    }
    open_ = true;
    if (!baseline_) baseline_ = CameraBaseline::read(*camera_);
    return *camera_;
}

void Session::close() {
    if (!open_) return;
    open_ = false;
    camera_->exit();
}

Nimbrel_model::Camera& Session::reopen() {
    close();
    return open();
}

void Session::startRecording(const std::string& file, double length, double fps, double maxSize, long replayRate) {
    listener_.clear();
    camera_->startRecording(&listener_, file, length, fps, maxSize, replayRate ? replayRate : std::lround(fps));
    recording_ = true;
}

void Session::stopRecording() {
    if (!recording_) return;
    recording_ = false;
    camera_->stopRecording();
}

std::string Session::restore() {
    std::string problems;
    const auto attempt = [&problems](const std::string& what, const std::function<void()>& action) {
        try {
            action();
        } catch (const Qel::Exception& e) {
            problems += (problems.empty() ? "" : "; ") + what + ": " + e.getMessage().str();
        } catch (const std::exception& e) {
            problems += (problems.empty() ? "" : "; ") + what + ": " + e.what();
        }
    };
    if (recording_) attempt("stopping the recording", [this] { stopRecording(); });
    attempt("reloading the configuration copy", [this] { sandbox_.resetCopy(); });
    if (baseline_) attempt("restoring the camera settings", [this] { baseline_->apply(reopen()); });
    attempt("closing the camera", [this] { close(); });
    return problems;
}

void expect(bool ok, const std::string& what) {
    if (!ok) throw CheckFailure(what);
}

}  // namespace check
