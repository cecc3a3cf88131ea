// The open camera for the length of a run, closed again on every way out.
#pragma once

#include <Nimbrel_model/Camera.h>

namespace demo {

class CameraSession {
public:
    // Opens the camera (the configuration is loaded). With resetPreset, an
    // opening that fails while a user preset is stored resets the preset
    // instead; without, the failure goes on with a hint that the preset may
    // be the cause.
    explicit CameraSession(bool resetPreset);
    // Closes the camera if close() did not; failures are dropped here since
    // another error is already on its way out.
    ~CameraSession();
    CameraSession(const CameraSession&) = delete;
    CameraSession& operator=(const CameraSession&) = delete;

    Nimbrel_model::Camera& camera() const { return *camera_; }
    // The opening failed and the preset was reset to open the camera.
    bool presetReset() const { return presetReset_; }
    // Closes the camera; a failure is thrown.
    void close();

private:
    Nimbrel_model::Camera* camera_;
    bool presetReset_ = false;
    bool open_ = false;
};

}  // namespace demo
