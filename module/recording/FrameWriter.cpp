// The recording timer's tick: one frame into the open AVI file, and the end
// of the recording at its size or length limit.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>

#include "core/PixelOps.h"
#include "recording/RecordInterval.h"
#include "sdk/Failures.h"
#include "ueye.h"

#include <wx/app.h>

#include <cstring>
#include <memory>

namespace Nimbrel_model {

namespace {

const float kMegabytesPerKilobyte = 0.0009765625f;

// The name a failed tick gives the active-buffer query when the camera has no
// picture to write.
constexpr const char* kActiveBufferName = "is_GetActiveBuffer";

bool aviSucceeded(INT status) { return status == IS_AVI_NO_ERR || status == IS_AVI_ERR_WRITE_INFO; }

}  // namespace

void Camera::onTimer(wxTimerEvent&) {
    const int interval = recordIntervalMs(recordFrameRate);
    const unsigned int epoch = recordEpoch;
    wxYield();
    // The host paused, stopped or restarted the recording during the yield:
    // this tick is no longer wanted.
    if (epoch != recordEpoch || !recording) return;
    recordTimer.Start(interval, wxTIMER_ONE_SHOT);

    float kilobytes = 0.0f;
    const INT sizeStatus = isavi_GetAVISize(aviId, &kilobytes);
    if (!aviSucceeded(sizeStatus)) {
        recordTimer.Stop();
        throwSdkFailure("isavi_GetAVISize", sizeStatus);
    }
    const float megabytes = kilobytes * kMegabytesPerKilobyte;
    if (megabytes >= static_cast<float>(sizeLimit)) {
        endRecording();
        return;
    }

    // The camera closed (or reopened as another sensor) under the recording:
    // nothing safe to read. The recording stays open, as a paused one.
    std::unique_ptr<unsigned char[]> ownedImage;
    unsigned char* image = nullptr;
    if (getMaxWidth() == recordMaxWidth && getMaxHeight() == recordMaxHeight) image = getActiveImage();
    if (!color) ownedImage.reset(image);
    if (!image) {
        recordTimer.Stop();
        throwSdkFailure(kActiveBufferName, IS_NO_ACTIVE_IMG_MEM);
    }

    const std::size_t pixels = static_cast<std::size_t>(recordMaxWidth) * static_cast<std::size_t>(recordMaxHeight);
    std::unique_ptr<unsigned char[]> frame(allocateFrame(pixels * 3));
    if (color)
        copySwapRedBlue(frame.get(), image, pixels);
    else
        std::memcpy(frame.get(), image, pixels * 3);  // grey pixels are the same either way round
    ownedImage.reset();

    const INT frameStatus = isavi_AddFrame(aviId, reinterpret_cast<char*>(frame.get()));
    frame.reset();
    if (!aviSucceeded(frameStatus)) {
        recordTimer.Stop();
        throwSdkFailure("isavi_AddFrame", frameStatus);
    }

    if (remainingTime > 0) {
        remainingTime -= 1.0 / recordFrameRate;
        if (remainingTime <= 0) endRecording();
    }
}

void Camera::endRecording() {
    stopRecording();
    // A listener may add or remove listeners while it is told: the length is
    // read again after each call, which a range-for would not do.
    for (std::size_t i = 0; i < listeners.size(); ++i) listeners[i]->recordEnd();  // NOLINT(modernize-loop-convert)
}

}  // namespace Nimbrel_model
