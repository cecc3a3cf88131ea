#include "CameraOpener.h"

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

namespace host {

namespace {

int chosenCameraId = 0;

template <typename Opening>
void closingOnFailure(Nimbrel_model::Camera& camera, Opening&& opening) {
    try {
        opening();
    } catch (...) {
        try {
            camera.exit();
        } catch (...) {
        }
        throw;
    }
}

}  // namespace

void chooseCameraId(int id) { chosenCameraId = id; }

void openCamera(Nimbrel_model::Camera& camera) {
    closingOnFailure(camera, [&] {
        if (chosenCameraId == 0)
            camera.init();
        else
            camera.initById(chosenCameraId);
    });
}

bool openResettingPreset(Nimbrel_model::Camera& camera) {
    try {
        openCamera(camera);
        return false;
    } catch (const Qel::Exception&) {
        if (!presetStored(camera)) throw;
    }
    resetPreset(camera);
    return true;
}

void resetPreset(Nimbrel_model::Camera& camera) {
    closingOnFailure(camera, [&] { camera.resetUserSettings(); });
}

bool presetStored(const Nimbrel_model::Camera& camera) {
    const Nimbrel_model::Camera::hstring name = camera.getName();
    if (name.str().empty()) return false;
    try {
        return Nimbrel_model::Config::getInstance()->isUserDefined(name);
    } catch (const Qel::Exception&) {
        return false;  // no element for this camera
    }
}

std::string presetHint(const Nimbrel_model::Camera& camera, const std::string& howToReset) {
    if (!presetStored(camera)) return "";
    return "a user preset is stored for " + camera.getName().str() + " and may be why: " + howToReset +
           " goes back to the factory values";
}

}  // namespace host
