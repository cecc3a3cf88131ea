// Opening the camera for a host. init can fail after the camera opened, so a
// failure closes it again before the exception goes on: no host leaves the
// camera open. A stored user preset can be why an opening fails (a save cut
// short leaves one without its image size), so a host can tell the user, and
// reset the preset instead of giving up.
#pragma once

#include <Nimbrel_model/Camera.h>

#include <string>

namespace host {

// The SDK's camera id that openCamera asks for from now on; 0, the start,
// opens the first available camera (Camera::init).
void chooseCameraId(int id);

// Camera::init, or Camera::initById with the chosen id; a failure closes the
// camera again and goes on.
void openCamera(Nimbrel_model::Camera& camera);

// Opens the camera; when that fails while a user preset is stored for it,
// resets the preset instead (Camera::resetUserSettings deletes it and opens
// the camera with the factory values). Returns true when it reset the
// preset. A failure without a preset, or of the reset, goes on, the camera
// closed again.
bool openResettingPreset(Nimbrel_model::Camera& camera);

// Camera::resetUserSettings (deletes the preset, opens the camera again with
// the factory values); a failure closes the camera again and goes on.
void resetPreset(Nimbrel_model::Camera& camera);

// Whether a user preset is stored for the camera last opened or tried; false
// while its name is unknown or the configuration has no element for it.
bool presetStored(const Nimbrel_model::Camera& camera);

// What a host adds to an opening failure when a preset is stored ("" when
// none is): `howToReset` is this host's way back to the factory values.
std::string presetHint(const Nimbrel_model::Camera& camera, const std::string& howToReset);

}  // namespace host
