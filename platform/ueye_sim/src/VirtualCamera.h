// The one virtual camera: its connection, open state, settings, image
// memories and capture thread. Each SDK function checks its handle here and
// does its work under the camera's lock. The members are implemented by
// concern: VirtualCamera.cpp (connection, open and close, control),
// VirtualCameraCapture.cpp, VirtualCameraMemory.cpp, VirtualCameraFormat.cpp,
// VirtualCameraParameters.cpp and VirtualCameraTiming.cpp.
#pragma once

#include "CameraSettings.h"
#include "Environment.h"
#include "ImageMemories.h"
#include "ueye.h"
#include "ueye_sim/Control.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ueye_sim::detail {

class VirtualCamera {
public:
    static VirtualCamera& instance();
    ~VirtualCamera();
    VirtualCamera(const VirtualCamera&) = delete;
    VirtualCamera& operator=(const VirtualCamera&) = delete;

    // Control.
    bool connect(const std::string& name);
    std::string connectedName() const;
    // Closes an open camera and connects the cameras the environment names.
    void restart(const Environment& environment);
    CameraState state() const;
    bool waitFrames(int count, int timeoutMs);
    bool isOpenHandle(HIDS handle) const;

    // Open and close.
    int open(HIDS* handle);
    int close(HIDS handle);
    int sensorInfo(HIDS handle, SENSORINFO* info) const;
    int listCameras(int capacity, int* count, int* ids, char* models, int modelBytes, int* inUse) const;

    // Capture.
    int startCapture(HIDS handle, int wait);
    int stopCapture(HIDS handle);
    int setExternalTrigger(HIDS handle, int mode);
    int setDisplayMode(HIDS handle, int mode);

    // Image memory.
    int allocateMemory(HIDS handle, int width, int height, int bitsPerPixel, char** data, int* id);
    int adoptMemory(HIDS handle, int width, int height, int bitsPerPixel, char* data, int* id);
    int setActiveMemory(HIDS handle, char* data, int id);
    int freeMemory(HIDS handle, char* data, int id);
    int clearSequence(HIDS handle);
    int addToSequence(HIDS handle, char* data, int id);
    int activeBuffer(HIDS handle, int* number, char** inUse, char** lastDone) const;
    int lockBuffer(HIDS handle, char* data);
    int unlockBuffer(HIDS handle, char* data);
    int imageInfo(HIDS handle, int id, UEYEIMAGEINFO* info, int size);

    // Events.
    int enableEvent(HIDS handle, int which, bool enable);
    int waitEvent(HIDS handle, int which, int timeoutMs);

    // Format.
    int setColorMode(HIDS handle, int mode);
    int setImageSize(HIDS handle, int width, int height);
    int setImagePosition(HIDS handle, int x, int y);
    int areaOfInterest(HIDS handle, int command, int* x, int* y, int* width, int* height);
    int setBinning(HIDS handle, int mode);
    int uncheckedSetup(HIDS handle, int mode, int param);

    // Image parameters.
    int hardwareGain(HIDS handle, int master, int red, int green, int blue);
    int autoParameter(HIDS handle, int param, double* value, double* value2);
    int brightness(HIDS handle, int value);
    int setGamma(HIDS handle, int gamma);
    int setBlackLevel(HIDS handle, int enable, int offset, int reserved);
    int setColorCorrection(HIDS handle, int mode, const double* factors);

    // Timing.
    int exposure(HIDS handle, double milliseconds, double* applied);
    int frameRate(HIDS handle, double fps, double* applied);
    int pixelClock(HIDS handle, int clockMHz);
    int optimalTiming(HIDS handle, int mode, int timeoutMs, int* clockMHz, double* fps);
    int frameTimeRange(HIDS handle, double* shortest, double* longest, double* step) const;
    int settingRange(HIDS handle, int setting, double* smallest, double* largest, double* step) const;

private:
    VirtualCamera();

    bool openLocked(HIDS handle) const { return open_ && handle == openId_; }
    // Stops and joins the capture thread; lifecycleMutex_ held, mutex_ not.
    void stopCaptureThread();
    void closeLocked();
    void captureLoop();
    // Renders one frame into the capture target, unlocking while it draws.
    void captureFrame(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::time_point deadline);
    double highestFrameRateNow() const;
    // After a change of pixel clock or area: lower frame rate and exposure when they no longer fit.
    void fitTiming();
    void setFrameRateLocked(double fps);

    mutable std::mutex lifecycleMutex_;          // open, close, start and stop, which join the thread
    mutable std::mutex mutex_;                   // everything below
    std::condition_variable wake_;               // the capture thread's: stop or new timing
    std::condition_variable frameDone_;          // a frame completed
    std::vector<const CameraModel*> connected_;  // camera id n is entry n - 1
    const CameraModel* model_ = nullptr;         // the open (or last opened) camera's
    bool open_ = false;
    HIDS openId_ = 0;
    bool stamp_ = false;  // UESIM_STAMP: frame numbers in the first and last line
    bool frameEventEnabled_ = false;
    bool frameEventSet_ = false;
    CameraSettings settings_;
    ImageMemories memories_;
    bool capturing_ = false;
    bool stopRequested_ = false;
    std::uint64_t timingVersion_ = 0;
    std::uint64_t framesCaptured_ = 0;
    std::thread captureThread_;
};

}  // namespace ueye_sim::detail
