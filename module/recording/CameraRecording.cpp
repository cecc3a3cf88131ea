// Starting, pausing, resuming and stopping an AVI recording.
#include <Nimbrel_model/Camera.h>

#include "recording/RecordInterval.h"
#include "sdk/Failures.h"
#include "ueye.h"

#include <wx/filefn.h>
#include <wx/log.h>

#include <climits>
#include <cmath>

namespace Nimbrel_model {

namespace {

const INT kAviQuality = 50;

int truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

void Camera::startRecording(CameraListener* listener, const hstring& fileName, const double& length,
                            const double& frameRate, const double& maxSize, const long& replayFrameRate) {
    if (!recording) {
        checkSdk(isavi_InitAVI(&aviId, camHandle), "isavi_InitAVI");
        try {
            INT x = 0, y = 0, width = 0, height = 0;
            checkSdk(is_SetAOI(camHandle, IS_GET_IMAGE_AOI, &x, &y, &width, &height), "is_SetAOI");
            checkSdk(isavi_SetImageSize(aviId, IS_AVI_CM_RGB24, width, height, 0, 0, getMaxWidth() - width),
                     "isavi_SetImageSize");
            checkSdk(isavi_SetImageQuality(aviId, kAviQuality), "isavi_SetImageQuality");
            if (wxFileExists(fileName.wxstr())) {
                wxLogNull quiet;  // a failed removal shows up as the open's failure
                wxRemoveFile(fileName.wxstr());
            }
            checkSdk(isavi_OpenAVI(aviId, fileName.str().c_str()), "isavi_OpenAVI");
            checkSdk(isavi_SetFrameRate(aviId, static_cast<double>(replayFrameRate)), "isavi_SetFrameRate");
            checkSdk(isavi_StartAVI(aviId), "isavi_StartAVI");
        } catch (...) {
            // Release the instance so that failed starts leak nothing.
            isavi_ExitAVI(aviId);
            aviId = 0;
            throw;
        }
        lengthSetting = length;
        remainingTime = length;
        recording = true;
        recordMaxWidth = getMaxWidth();
        recordMaxHeight = getMaxHeight();
        listeners.push_back(listener);
    } else {
        remainingTime = length < 0 ? length : remainingTime + (length - lengthSetting);
        lengthSetting = length;
    }

    sizeLimit = truncateToInt(maxSize);
    // A rate of 0 would give no usable interval: it means the camera's rate, as a negative one does.
    recordFrameRate = frameRate > 0 ? frameRate : getFrameRate();
    ++recordEpoch;
    recordTimer.Start(recordIntervalMs(recordFrameRate), wxTIMER_ONE_SHOT);
}

void Camera::pauseRecording() {
    ++recordEpoch;
    recordTimer.Stop();
}

void Camera::stopRecording() {
    recording = false;
    ++recordEpoch;
    recordTimer.Stop();
    checkSdk(isavi_StopAVI(aviId), "isavi_StopAVI");
    checkSdk(isavi_CloseAVI(aviId), "isavi_CloseAVI");
    checkSdk(isavi_ExitAVI(aviId), "isavi_ExitAVI");
    aviId = 0;
}

}  // namespace Nimbrel_model
