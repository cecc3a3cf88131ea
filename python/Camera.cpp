#include "Camera.h"

#include "CameraChoice.h"
#include "CameraOpener.h"
#include "ConsoleApp.h"
#include "Errors.h"
#include "EventLoop.h"
#include "Settings.h"

#include <Qel/Qel.h>
#include <wx/app.h>

#include <algorithm>

namespace nimbrel_python {

namespace {
// The SDK's search takes up to 5 s; the optimisation ends soon after.
constexpr double optimizationEndSeconds = 15.0;
}  // namespace

Camera* Camera::current_ = nullptr;
Camera::Parts* Camera::closing_ = nullptr;

std::unique_ptr<Camera> Camera::open(const std::optional<std::string>& appDir,
                                     const std::optional<std::string>& camera) {
    if (current_ || closing_)
        raiseCameraError("a camera is already open: close it first (the module drives one camera)");
    // Before wx starts: started off the main thread, it would take that
    // thread for its own for the rest of the process.
    requireMainThread();
    requireWxPythonFirst();
    startWx();
    chooseCamera(camera);
    loadSettings(appDir);
    std::unique_ptr<Camera> session(new Camera);
    Nimbrel_model::Camera* instance = Nimbrel_model::Camera::getInstance();
    try {
        host::openCamera(*instance);
    } catch (const Qel::Exception& error) {
        // A preset that a cut-short save left keeps the camera from opening.
        const std::string hint =
            host::presetHint(*instance, "nimbrel_model.config().clear_preset('" + instance->getName().str() + "')");
        delete instance;
        if (hint.empty()) throw;
        raiseWithHint(error.getMessage().str(), hint);
    } catch (...) {
        delete instance;
        throw;
    }
    session->parts_.camera = instance;
    session->parts_.recorder = std::make_unique<Recorder>(*instance);
    session->parts_.optimizer = std::make_unique<Optimizer>(*instance);
    current_ = session.get();
    closeAtExit();
    session->awaitFirstPicture();
    return session;
}

// Capture has just started: give the camera two frame times (within bounds)
// so that a picture taken right after open() is a real one.
void Camera::awaitFirstPicture() {
    double fps = 0.0;
    try {
        fps = parts_.camera->getFrameRate();
    } catch (const Qel::Exception&) {
    }
    const double seconds = fps > 0.0 ? std::clamp(2.0 / fps, 0.05, 1.0) : 0.2;
    pumpUntil([] { return false; }, seconds);
}

Camera::~Camera() {
    try {
        close();
    } catch (...) {
    }
}

void Camera::release(Parts parts, std::exception_ptr& failure) {
    try {
        parts.camera->exit();
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    parts.recorder.reset();
    parts.optimizer.reset();
    // Its timer belongs to wx: once wx is shut down (at exit) the instance is left to the process.
    if (wxAppConsole::GetInstance()) delete parts.camera;  // waits for an optimisation still running
}

void Camera::close() {
    if (!parts_.camera) return;
    requireMainThread();
    Optimizer::cancelCallbacks();  // none runs on a closing camera, inside close()
    std::exception_ptr failure;
    try {
        parts_.recorder->stop();
    } catch (...) {
        failure = std::current_exception();
    }
    current_ = nullptr;
    Parts parts = std::move(parts_);
    parts_ = Parts{};
    if (parts.recorder->inTick()) {
        // The module's tick is on the stack below this callback: the camera
        // goes once the tick is over.
        closing_ = new Parts(std::move(parts));
        closing_->recorder->afterTick([] { host::application().CallAfter([] { finishDeferredClose(); }); });
    } else {
        try {
            // The worker drives the camera: let it end before the camera closes.
            Optimizer::waitAll(optimizationEndSeconds);
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
        release(std::move(parts), failure);
    }
    releaseSettings();
    if (failure) std::rethrow_exception(failure);
}

void Camera::finishDeferredClose() {
    if (!closing_) return;
    runPython([] {
        std::unique_ptr<Parts> parts(closing_);
        closing_ = nullptr;
        std::exception_ptr failure;
        release(std::move(*parts), failure);
        if (failure) raiseObject(errorObject(failure));
    });
}

// Exit handlers run last registered first: registered again at each open,
// the camera closes before wxPython, imported and started earlier, shuts wx
// down.
void Camera::closeAtExit() {
    const py::module_ atexit = py::module_::import("atexit");
    const py::object handler = py::module_::import("nimbrel_model._nimbrel_model").attr("_close_at_exit");
    atexit.attr("unregister")(handler);
    atexit.attr("register")(handler);
}

void Camera::closeAll() {
    if (current_) {
        try {
            current_->close();
        } catch (...) {
        }
    }
    finishDeferredClose();
    stopWx();
}

Nimbrel_model::Camera& Camera::camera() {
    if (!parts_.camera) raiseClosed();
    requireMainThread();
    return *parts_.camera;
}

Recorder& Camera::recorder() {
    camera();
    return *parts_.recorder;
}

Optimizer& Camera::optimizer() {
    camera();
    return *parts_.optimizer;
}

void Camera::resetUserSettings() {
    requireSettingsWritable("delete the user preset");
    recorder().stop();
    camera().resetUserSettings();
}

}  // namespace nimbrel_python
