#include "SdkCall.h"

using namespace ueye_sim::detail;

INT is_EnableEvent(HIDS hCam, INT which) {
    CallGate call("is_EnableEvent");
    call.arg(hCam).arg(which);
    return gated(call, [&] { return camera().enableEvent(hCam, which, true); });
}

INT is_DisableEvent(HIDS hCam, INT which) {
    CallGate call("is_DisableEvent");
    call.arg(hCam).arg(which);
    return gated(call, [&] { return camera().enableEvent(hCam, which, false); });
}

INT is_WaitEvent(HIDS hCam, INT which, INT nTimeout) {
    CallGate call("is_WaitEvent");
    call.arg(hCam).arg(which).arg(nTimeout);
    return gated(call, [&] { return camera().waitEvent(hCam, which, nTimeout); });
}

INT is_LockSeqBuf(HIDS hCam, INT nNum, char* pcMem) {
    CallGate call("is_LockSeqBuf");
    call.arg(hCam).arg(nNum).pointer(pcMem);
    return gated(call, [&] { return camera().lockBuffer(hCam, pcMem); });
}

INT is_UnlockSeqBuf(HIDS hCam, INT nNum, char* pcMem) {
    CallGate call("is_UnlockSeqBuf");
    call.arg(hCam).arg(nNum).pointer(pcMem);
    return gated(call, [&] { return camera().unlockBuffer(hCam, pcMem); });
}

INT is_GetImageInfo(HIDS hCam, INT nImageBufferID, UEYEIMAGEINFO* pImageInfo, INT nImageInfoSize) {
    CallGate call("is_GetImageInfo");
    call.arg(hCam).arg(nImageBufferID).out(pImageInfo).arg(nImageInfoSize);
    return gated(call, [&] { return camera().imageInfo(hCam, nImageBufferID, pImageInfo, nImageInfoSize); });
}
