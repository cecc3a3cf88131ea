// The cameras there are to open.
#include <Nimbrel_model/Camera.h>

#include "sdk/Failures.h"
#include "sdk/ueye_by_role.h"
#include "ueye.h"

#include <algorithm>
#include <string>
#include <vector>

namespace Nimbrel_model {

namespace {

// Room for the model names the SDKs report (up to 31 characters).
constexpr INT kModelBytes = 32;
// Most computers have fewer cameras: one call then answers.
constexpr INT kFirstCapacity = 8;

}  // namespace

std::vector<ConnectedCamera> Camera::getConnectedCameras() {
    const char* const function = ueye_role::kCameraList;
    std::vector<INT> ids;
    std::vector<char> models;
    std::vector<INT> inUse;
    INT capacity = kFirstCapacity;
    INT count = 0;
    // A camera plugged in between two calls makes the list longer: ask again.
    for (;;) {
        ids.assign(static_cast<std::size_t>(capacity), 0);
        models.assign(static_cast<std::size_t>(capacity) * kModelBytes, '\0');
        inUse.assign(static_cast<std::size_t>(capacity), 0);
        checkSdk(ueye_role::cameraList(capacity, &count, ids.data(), models.data(), kModelBytes, inUse.data()),
                 function);
        if (count < 0) throwSdkFailure(function, IS_NO_SUCCESS);
        if (count <= capacity) break;
        capacity = count;
    }
    std::vector<ConnectedCamera> cameras;
    cameras.reserve(static_cast<std::size_t>(count));
    for (INT i = 0; i < count; ++i) {
        const char* model = models.data() + static_cast<std::size_t>(i) * kModelBytes;
        ConnectedCamera camera;
        camera.id = ids[static_cast<std::size_t>(i)];
        camera.model = std::string(model, std::find(model, model + kModelBytes, '\0'));
        camera.inUse = inUse[static_cast<std::size_t>(i)] != 0;
        cameras.push_back(std::move(camera));
    }
    return cameras;
}

}  // namespace Nimbrel_model
