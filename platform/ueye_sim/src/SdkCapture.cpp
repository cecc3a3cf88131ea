#include "SdkCall.h"

using namespace ueye_sim::detail;

INT is_CaptureVideo(HIDS hCam, INT wait) {
    CallGate call("is_CaptureVideo");
    call.arg(hCam).arg(wait);
    return gated(call, [&] { return camera().startCapture(hCam, wait); });
}

INT is_StopLiveVideo(HIDS hCam, INT wait) {
    CallGate call("is_StopLiveVideo");
    call.arg(hCam).arg(wait);
    return gated(call, [&] { return camera().stopCapture(hCam); });
}

INT is_SetExternalTrigger(HIDS hCam, INT triggerMode) {
    CallGate call("is_SetExternalTrigger");
    call.arg(hCam).arg(triggerMode);
    return gated(call, [&] { return camera().setExternalTrigger(hCam, triggerMode); });
}

INT is_SetDisplayMode(HIDS hCam, INT mode) {
    CallGate call("is_SetDisplayMode");
    call.arg(hCam).arg(mode);
    return gated(call, [&] { return camera().setDisplayMode(hCam, mode); });
}
