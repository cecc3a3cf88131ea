// Camera: the singleton, opening and closing the camera, the listener list
// and the accessors.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>

#include "core/SensorInfo.h"
#include "recording/OptimizationTracker.h"
#include "sdk/Failures.h"
#include "stream/StreamControl.h"
#include "ueye.h"

#include <algorithm>
#include <cstring>

namespace Nimbrel_model {

namespace {
const int kRecordTimerId = 10;
}

Camera* Camera::_instance = nullptr;

wxBEGIN_EVENT_TABLE(Camera, wxEvtHandler) EVT_TIMER(kRecordTimerId, Camera::onTimer) wxEND_EVENT_TABLE()

    Camera* Camera::getInstance() {
    if (!_instance) _instance = new Camera();
    return _instance;
}

Camera::Camera() : camHandle(0), recordTimer(this, kRecordTimerId) {}

Camera::~Camera() {
    // Hosts destroy the camera on their way out: let a running optimisation
    // finish first rather than pulling the camera and wx away from under it.
    waitForOptimizations();
    // An exception escaping a destructor would terminate the host.
    try {
        exit();
    } catch (...) {
    }
    listeners.clear();
    listeners.shrink_to_fit();
    if (_instance == this) _instance = nullptr;
}

void Camera::init() { initById(0); }

void Camera::initById(const int& cameraId) {
    exit();

    // The SDK's convention: 0 opens the first available camera, another value the camera of that id.
    HIDS handle = static_cast<HIDS>(cameraId);
    const INT status = is_InitCamera(&handle, nullptr);
    camHandle = handle;
    checkSdk(status, "is_InitCamera");

    SENSORINFO info{};
    const INT infoStatus = is_GetSensorInfo(camHandle, &info);
    writeSensorInfo(sensorInfo, info);
    checkSdk(infoStatus, "is_GetSensorInfo");

    if (getName().glob("*-M")) color = false;

    setDefaults();

    checkSdk(is_CaptureVideo(camHandle, IS_WAIT), "is_CaptureVideo");
}

void Camera::exit() {
    stopFrameStream();
    const HIDS handle = camHandle;
    if (handle == 0) return;

    checkSdk(is_StopLiveVideo(handle, IS_WAIT), "is_StopLiveVideo");
    if (imageMemory) checkSdk(is_FreeImageMem(handle, imageMemory, memId), "is_FreeImageMem");
    imageMemory = nullptr;
    checkSdk(is_ExitCamera(handle), "is_ExitCamera");
    camHandle = 0;
}

void Camera::removeListener(const CameraListener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

void* Camera::getCamHandle() const {
    // The host sees the SDK's 32-bit handle as an opaque pointer-sized value.
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(camHandle.load()));  // NOLINT(performance-no-int-to-ptr)
}

Camera::hstring Camera::getName() const {
    const SENSORINFO info = readSensorInfo(sensorInfo);
    return {std::string(info.strSensorName, strnlen(info.strSensorName, sizeof info.strSensorName))};
}

Camera::hstring Camera::getSensor() const { return getName(); }

int Camera::getMaxWidth() const { return static_cast<int>(readSensorInfo(sensorInfo).nMaxWidth); }

int Camera::getMaxHeight() const { return static_cast<int>(readSensorInfo(sensorInfo).nMaxHeight); }

bool Camera::isColor() const { return color; }

}  // namespace Nimbrel_model
