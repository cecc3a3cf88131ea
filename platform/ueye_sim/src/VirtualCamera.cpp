// Connection, open and close, and the control API's view of the camera.
#include "VirtualCamera.h"

#include "Environment.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iostream>

namespace ueye_sim::detail {
namespace {

constexpr char kDefaultCamera[] = "SIM1280-C";

// The camera UESIM_CAMERA asks for: empty means the default, "none" or an unknown name none.
const CameraModel* modelForEnvironment(const std::string& name) {
    if (name.empty()) return findModel(kDefaultCamera);
    if (name == "none") return nullptr;
    const CameraModel* model = findModel(name);
    if (!model) std::cerr << "ueye_sim: UESIM_CAMERA names no known camera (\"" << name << "\"); none connected\n";
    return model;
}

// The sensor information's colour codes: monochrome and Bayer.
constexpr char kMonochromeSensor = 1;
constexpr char kBayerSensor = 2;

}  // namespace

VirtualCamera& VirtualCamera::instance() {
    static VirtualCamera camera;
    return camera;
}

VirtualCamera::VirtualCamera() { restart(Environment::read()); }

VirtualCamera::~VirtualCamera() {
    std::lock_guard lifecycle(lifecycleMutex_);
    stopCaptureThread();
}

bool VirtualCamera::connect(const std::string& name) {
    const CameraModel* model = nullptr;
    if (!name.empty() && name != "none") {
        model = findModel(name);
        if (!model) return false;
    }
    std::lock_guard lock(mutex_);
    connected_.clear();
    if (model) connected_.push_back(model);
    return true;
}

std::string VirtualCamera::connectedName() const {
    std::lock_guard lock(mutex_);
    return connected_.empty() ? "none" : connected_.front()->name;
}

void VirtualCamera::restart(const Environment& environment) {
    std::vector<const CameraModel*> models;
    if (environment.cameras.empty()) {
        if (const CameraModel* model = modelForEnvironment(environment.camera)) models.push_back(model);
    } else {
        for (const auto& name : environment.cameras)
            if (const CameraModel* model = modelForEnvironment(name)) models.push_back(model);
    }
    std::lock_guard lifecycle(lifecycleMutex_);
    stopCaptureThread();
    std::lock_guard lock(mutex_);
    closeLocked();
    memories_ = ImageMemories();  // ids start at 1 again
    connected_ = models;
    model_ = nullptr;
    settings_ = models.empty() ? CameraSettings{} : CameraSettings::defaultsFor(*models.front());
    framesCaptured_ = 0;
    stamp_ = environment.stamp;
}

bool VirtualCamera::isOpenHandle(HIDS handle) const {
    std::lock_guard lock(mutex_);
    return openLocked(handle);
}

CameraState VirtualCamera::state() const {
    std::lock_guard lock(mutex_);
    const CameraSettings& s = settings_;
    return CameraState{
        open_,        capturing_, memories_.count(),  framesCaptured_, s.masterGain, s.redGain,    s.greenGain,
        s.blueGain,   s.autoGain, s.autoWhiteBalance, s.autoShutter,   s.brightness, s.exposureMs, s.frameRate,
        s.pixelClock, s.gamma,    s.colorMode,        s.aoiX,          s.aoiY,       s.aoiWidth,   s.aoiHeight};
}

bool VirtualCamera::waitFrames(int count, int timeoutMs) {
    std::unique_lock lock(mutex_);
    const std::uint64_t goal = framesCaptured_ + static_cast<std::uint64_t>(count > 0 ? count : 0);
    return frameDone_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return framesCaptured_ >= goal; });
}

int VirtualCamera::open(HIDS* handle) {
    std::lock_guard lifecycle(lifecycleMutex_);
    std::lock_guard lock(mutex_);
    if (!handle) return IS_INVALID_PARAMETER;
    // 0 asks for the first free camera, any other value for the camera of that
    // id. One camera is open at a time, so the first free one is the first.
    const HIDS id = *handle == 0 ? 1 : *handle;
    if (id > connected_.size() || open_) return IS_CANT_OPEN_DEVICE;
    model_ = connected_[id - 1];
    settings_ = CameraSettings::defaultsFor(*model_);
    framesCaptured_ = 0;
    open_ = true;
    openId_ = id;
    *handle = id;
    return IS_SUCCESS;
}

int VirtualCamera::close(HIDS handle) {
    std::lock_guard lifecycle(lifecycleMutex_);
    if (!isOpenHandle(handle)) return IS_INVALID_CAMERA_HANDLE;
    stopCaptureThread();
    std::lock_guard lock(mutex_);
    closeLocked();
    return IS_SUCCESS;
}

void VirtualCamera::closeLocked() {
    memories_.eraseAll();
    open_ = false;
    frameEventEnabled_ = frameEventSet_ = false;
    frameDone_.notify_all();
}

int VirtualCamera::listCameras(int capacity, int* count, int* ids, char* models, int modelBytes, int* inUse) const {
    if (!count || capacity < 0 || (capacity > 0 && (!ids || !models || !inUse || modelBytes < 1)))
        return IS_INVALID_PARAMETER;
    std::lock_guard lock(mutex_);
    *count = static_cast<int>(connected_.size());
    const int listed = std::min(capacity, *count);
    for (int i = 0; i < listed; ++i) {
        const auto id = static_cast<HIDS>(i + 1);
        ids[i] = static_cast<int>(id);
        char* model = models + static_cast<std::size_t>(i) * static_cast<std::size_t>(modelBytes);
        std::memset(model, 0, static_cast<std::size_t>(modelBytes));
        connected_[static_cast<std::size_t>(i)]->name.copy(model, static_cast<std::size_t>(modelBytes - 1));
        inUse[i] = openLocked(id) ? 1 : 0;
    }
    return IS_SUCCESS;
}

int VirtualCamera::sensorInfo(HIDS handle, SENSORINFO* info) const {
    std::lock_guard lock(mutex_);
    if (!openLocked(handle)) return IS_INVALID_CAMERA_HANDLE;
    if (!info) return IS_INVALID_PARAMETER;
    std::memset(info, 0, sizeof *info);
    const auto index = model_ - catalogue().data();
    info->SensorID = static_cast<WORD>(0x1000 + index);
    std::strncpy(info->strSensorName, model_->name.c_str(), sizeof info->strSensorName - 1);
    info->nColorMode = model_->color ? kBayerSensor : kMonochromeSensor;
    info->nMaxWidth = static_cast<DWORD>(model_->maxWidth);
    info->nMaxHeight = static_cast<DWORD>(model_->maxHeight);
    info->bMasterGain = 1;
    info->bRGain = info->bGGain = info->bBGain = model_->color ? 1 : 0;
    info->bGlobShutter = 1;
    // Pixel pitch in hundredths of a micrometre: smaller pixels on the larger sensors.
    info->wPixelSize = static_cast<WORD>(model_->maxWidth >= 4000 ? 125 : model_->maxWidth >= 2000 ? 220 : 530);
    return IS_SUCCESS;
}

}  // namespace ueye_sim::detail
