#include "SdkCall.h"

using namespace ueye_sim::detail;

INT is_SetColorMode(HIDS hCam, INT mode) {
    CallGate call("is_SetColorMode");
    call.arg(hCam).arg(mode);
    return gated(call, [&] { return camera().setColorMode(hCam, mode); });
}

INT is_SetImageSize(HIDS hCam, INT width, INT height) {
    CallGate call("is_SetImageSize");
    call.arg(hCam).arg(width).arg(height);
    return gated(call, [&] { return camera().setImageSize(hCam, width, height); });
}

INT is_SetImagePos(HIDS hCam, INT x, INT y) {
    CallGate call("is_SetImagePos");
    call.arg(hCam).arg(x).arg(y);
    return gated(call, [&] { return camera().setImagePosition(hCam, x, y); });
}

INT is_SetAOI(HIDS hCam, INT command, INT* pX, INT* pY, INT* pWidth, INT* pHeight) {
    CallGate call("is_SetAOI");
    call.arg(hCam).arg(command);
    if (command == IS_GET_IMAGE_AOI)
        call.out(pX).out(pY).out(pWidth).out(pHeight);
    else
        call.in(pX).in(pY).in(pWidth).in(pHeight);
    return gated(call, [&] { return camera().areaOfInterest(hCam, command, pX, pY, pWidth, pHeight); });
}

INT is_SetBinning(HIDS hCam, INT mode) {
    CallGate call("is_SetBinning");
    call.arg(hCam).arg(mode);
    return gated(call, [&] { return camera().setBinning(hCam, mode); });
}

INT is_UncheckedSetup(HIDS hCam, INT mode, INT param) {
    CallGate call("is_UncheckedSetup");
    call.arg(hCam).arg(mode).arg(param);
    return gated(call, [&] { return camera().uncheckedSetup(hCam, mode, param); });
}
