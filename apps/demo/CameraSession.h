// The open camera for the length of a run: configuration loaded first, the
// camera closed again on every way out.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <optional>
#include <string>

namespace demo {

class CameraSession {
public:
    // Loads res/config.xml beside the executable, connects the named
    // simulated camera when one is given, then opens the camera.
    explicit CameraSession(const std::optional<std::string>& cameraName);
    // Closes the camera if close() did not; failures are dropped here since
    // another error is already on its way out.
    ~CameraSession();
    CameraSession(const CameraSession&) = delete;
    CameraSession& operator=(const CameraSession&) = delete;

    Nimbrel_model::Camera& camera() const { return *camera_; }
    // Closes the camera; a failure is thrown.
    void close();

private:
    Nimbrel_model::Camera* camera_;
    bool open_ = false;
};

}  // namespace demo
