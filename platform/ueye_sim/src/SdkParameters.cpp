#include "SdkCall.h"

using namespace ueye_sim::detail;

INT is_SetHardwareGain(HIDS hCam, INT master, INT red, INT green, INT blue) {
    CallGate call("is_SetHardwareGain");
    call.arg(hCam).arg(master).arg(red).arg(green).arg(blue);
    return gated(call, [&] { return camera().hardwareGain(hCam, master, red, green, blue); });
}

INT is_SetAutoParameter(HIDS hCam, INT param, double* pValue, double* pValue2) {
    CallGate call("is_SetAutoParameter");
    call.arg(hCam).arg(param).in(pValue).in(pValue2);
    return gated(call, [&] { return camera().autoParameter(hCam, param, pValue, pValue2); });
}

INT is_SetBrightness(HIDS hCam, INT brightness) {
    CallGate call("is_SetBrightness");
    call.arg(hCam).arg(brightness);
    return gated(call, [&] { return camera().brightness(hCam, brightness); });
}

INT is_SetGamma(HIDS hCam, INT gamma) {
    CallGate call("is_SetGamma");
    call.arg(hCam).arg(gamma);
    return gated(call, [&] { return camera().setGamma(hCam, gamma); });
}

INT is_SetBlCompensation(HIDS hCam, INT enable, INT offset, INT reserved) {
    CallGate call("is_SetBlCompensation");
    call.arg(hCam).arg(enable).arg(offset).arg(reserved);
    return gated(call, [&] { return camera().setBlackLevel(hCam, enable, offset, reserved); });
}

INT is_SetColorCorrection(HIDS hCam, INT mode, double* pFactors) {
    CallGate call("is_SetColorCorrection");
    call.arg(hCam).arg(mode).pointer(pFactors);
    return gated(call, [&] { return camera().setColorCorrection(hCam, mode, pFactors); });
}
