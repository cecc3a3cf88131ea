#include "CameraSession.h"

#include "Options.h"

#include <Nimbrel_model/Config.h>
#include <ueye_sim/Control.h>

namespace demo {

namespace {

void connectSimulatedCamera(const std::string& name) {
    if (ueye_sim::connectCamera(name)) return;
    std::string known;
    for (const auto& model : ueye_sim::catalogue()) known += (known.empty() ? "" : ", ") + model.name;
    throw UsageError("unknown camera '" + name + "' (known: " + known + ")");
}

}  // namespace

CameraSession::CameraSession(const std::optional<std::string>& cameraName)
    : camera_(Nimbrel_model::Camera::getInstance()) {
    Nimbrel_model::Config::getInstance()->load();
    if (cameraName) connectSimulatedCamera(*cameraName);
    try {
        camera_->init();
    } catch (...) {
        // init may fail after opening the camera; do not leave it open.
        try {
            camera_->exit();
        } catch (...) {
        }
        throw;
    }
    open_ = true;
}

CameraSession::~CameraSession() {
    if (!open_) return;
    try {
        camera_->exit();
    } catch (...) {
    }
}

void CameraSession::close() {
    if (!open_) return;
    open_ = false;
    camera_->exit();
}

}  // namespace demo
