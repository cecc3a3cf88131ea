#include "CameraSession.h"

#include "OpenCamera.h"

#include "SimulatorReadings.h"

#include <Nimbrel_model/Config.h>

namespace demo {

CameraSession::CameraSession(const std::optional<std::string>& cameraName)
    : camera_(Nimbrel_model::Camera::getInstance()) {
    Nimbrel_model::Config::getInstance()->load();
    if (cameraName) chooseCamera(*cameraName);
    hosts::openCamera(*camera_);
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
