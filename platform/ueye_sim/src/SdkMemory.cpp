#include "SdkCall.h"

using namespace ueye_sim::detail;

INT is_AllocImageMem(HIDS hCam, INT width, INT height, INT bitsPerPixel, char** ppMem, INT* pId) {
    CallGate call("is_AllocImageMem");
    call.arg(hCam).arg(width).arg(height).arg(bitsPerPixel).out(ppMem).out(pId);
    return gated(call, [&] { return camera().allocateMemory(hCam, width, height, bitsPerPixel, ppMem, pId); });
}

INT is_SetAllocatedImageMem(HIDS hCam, INT width, INT height, INT bitsPerPixel, char* pMem, INT* pId) {
    CallGate call("is_SetAllocatedImageMem");
    call.arg(hCam).arg(width).arg(height).arg(bitsPerPixel).pointer(pMem).out(pId);
    return gated(call, [&] { return camera().adoptMemory(hCam, width, height, bitsPerPixel, pMem, pId); });
}

INT is_SetImageMem(HIDS hCam, char* pMem, INT id) {
    CallGate call("is_SetImageMem");
    call.arg(hCam).pointer(pMem).arg(id);
    return gated(call, [&] { return camera().setActiveMemory(hCam, pMem, id); });
}

INT is_FreeImageMem(HIDS hCam, char* pMem, INT id) {
    CallGate call("is_FreeImageMem");
    call.arg(hCam).pointer(pMem).arg(id);
    return gated(call, [&] { return camera().freeMemory(hCam, pMem, id); });
}

INT is_ClearSequence(HIDS hCam) {
    CallGate call("is_ClearSequence");
    call.arg(hCam);
    return gated(call, [&] { return camera().clearSequence(hCam); });
}

INT is_AddToSequence(HIDS hCam, char* pMem, INT id) {
    CallGate call("is_AddToSequence");
    call.arg(hCam).pointer(pMem).arg(id);
    return gated(call, [&] { return camera().addToSequence(hCam, pMem, id); });
}

INT is_GetActiveBuffer(HIDS hCam, INT* pNum, char** ppMem, char** ppMemLast) {
    CallGate call("is_GetActiveBuffer");
    call.arg(hCam).out(pNum).out(ppMem).out(ppMemLast);
    return gated(call, [&] { return camera().activeBuffer(hCam, pNum, ppMem, ppMemLast); });
}
