#include "CameraSession.h"

#include "CameraOpener.h"

#include <Qel/Qel.h>

#include <stdexcept>

namespace demo {

CameraSession::CameraSession(bool resetPreset) : camera_(Nimbrel_model::Camera::getInstance()) {
    try {
        if (resetPreset)
            presetReset_ = host::openResettingPreset(*camera_);
        else
            host::openCamera(*camera_);
    } catch (const Qel::Exception& error) {
        const std::string hint = host::presetHint(*camera_, "nimbrel-demo --reset-preset");
        if (hint.empty()) throw;
        throw std::runtime_error(error.getMessage().str() + "; " + hint);
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
