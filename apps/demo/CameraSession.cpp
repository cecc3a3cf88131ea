#include "CameraSession.h"

#include "SimulatorReadings.h"

#include <Nimbrel_model/Config.h>

namespace demo {

CameraSession::CameraSession(const std::optional<std::string>& cameraName)
    : camera_(Nimbrel_model::Camera::getInstance()) {
    Nimbrel_model::Config::getInstance()->load();
    if (cameraName) chooseCamera(*cameraName);
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
