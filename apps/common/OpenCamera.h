// Opening the camera for a host: init can fail after the camera opened, so a
// failure closes it again before the exception goes on.
#pragma once

#include <Nimbrel_model/Camera.h>

namespace hosts {

inline void openCamera(Nimbrel_model::Camera& camera) {
    try {
        camera.init();
    } catch (...) {
        try {
            camera.exit();
        } catch (...) {
        }
        throw;
    }
}

}  // namespace hosts
