#include "SdkCall.h"

using namespace ueye_sim::detail;

INT is_InitCamera(HIDS* phCam, void* hWnd) {
    CallGate call("is_InitCamera");
    if (phCam)
        call.arg(*phCam);
    else
        call.out(nullptr);
    call.pointer(hWnd);
    return gated(call, [&] { return camera().open(phCam); });
}

INT is_GetSensorInfo(HIDS hCam, SENSORINFO* pInfo) {
    CallGate call("is_GetSensorInfo");
    call.arg(hCam).out(pInfo);
    return gated(call, [&] { return camera().sensorInfo(hCam, pInfo); });
}

INT is_ExitCamera(HIDS hCam) {
    CallGate call("is_ExitCamera");
    call.arg(hCam);
    return gated(call, [&] { return camera().close(hCam); });
}

INT is_ListConnectedCameras(INT capacity, INT* pCount, INT* pCameraIds, char* pModels, INT modelBytes, INT* pInUse) {
    CallGate call("is_ListConnectedCameras");
    call.arg(capacity).out(pCount).out(pCameraIds).out(pModels).arg(modelBytes).out(pInUse);
    return gated(call, [&] { return camera().listCameras(capacity, pCount, pCameraIds, pModels, modelBytes, pInUse); });
}
