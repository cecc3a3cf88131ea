// The AVI tools' C functions: each passes through the call gate, then finds
// its instance and lets it do the work on the caller's thread.
#include "ueye.h"

#include "AviRecorder.h"
#include "AviRegistry.h"
#include "CallGate.h"

using ueye_sim::detail::AviRecorder;
using ueye_sim::detail::CallGate;

namespace {

// Runs `work` on the instance, or fails for an unknown id.
template <typename Work>
int onInstance(CallGate& call, INT aviId, Work work) {
    if (auto forced = call.forced()) return call.done(*forced);
    const auto recorder = ueye_sim::detail::findAvi(aviId);
    if (!recorder) return call.done(IS_AVI_ERR_INVALID_ID);
    return call.done(work(*recorder));
}

}  // namespace

INT isavi_InitAVI(INT* pAviId, HIDS hCam) {
    CallGate call("isavi_InitAVI");
    call.out(pAviId).arg(static_cast<unsigned int>(hCam));
    if (auto forced = call.forced()) return call.done(*forced);
    if (!pAviId) return call.done(IS_AVI_ERR_PARAMETER);
    const int id = ueye_sim::detail::createAvi();
    if (id == 0) return call.done(IS_AVI_ERR_NEW_FAILED);
    *pAviId = id;
    return call.done(IS_AVI_NO_ERR);
}

INT isavi_ExitAVI(INT aviId) {
    CallGate call("isavi_ExitAVI");
    call.arg(aviId);
    if (auto forced = call.forced()) return call.done(*forced);
    const auto recorder = ueye_sim::detail::takeAvi(aviId);
    if (!recorder) return call.done(IS_AVI_ERR_INVALID_ID);
    return call.done(recorder->release());
}

INT isavi_SetImageSize(INT aviId, INT colorMode, long width, long height, long posX, long posY, long lineOffset) {
    CallGate call("isavi_SetImageSize");
    call.arg(aviId).arg(colorMode).arg(width).arg(height).arg(posX).arg(posY).arg(lineOffset);
    return onInstance(call, aviId, [&](AviRecorder& avi) {
        return avi.setImageSize(colorMode, width, height, posX, posY, lineOffset);
    });
}

INT isavi_SetImageQuality(INT aviId, INT quality) {
    CallGate call("isavi_SetImageQuality");
    call.arg(aviId).arg(quality);
    return onInstance(call, aviId, [&](AviRecorder& avi) { return avi.setQuality(quality); });
}

INT isavi_OpenAVI(INT aviId, const char* fileName) {
    CallGate call("isavi_OpenAVI");
    call.arg(aviId).text(fileName);
    return onInstance(call, aviId, [&](AviRecorder& avi) { return avi.open(fileName); });
}

INT isavi_SetFrameRate(INT aviId, double fps) {
    CallGate call("isavi_SetFrameRate");
    call.arg(aviId).arg(fps);
    return onInstance(call, aviId, [&](AviRecorder& avi) { return avi.setFrameRate(fps); });
}

INT isavi_StartAVI(INT aviId) {
    CallGate call("isavi_StartAVI");
    call.arg(aviId);
    return onInstance(call, aviId, [](AviRecorder& avi) { return avi.start(); });
}

INT isavi_AddFrame(INT aviId, char* pBuffer) {
    CallGate call("isavi_AddFrame");
    call.arg(aviId).pointer(pBuffer);
    return onInstance(call, aviId, [&](AviRecorder& avi) { return avi.addFrame(pBuffer); });
}

INT isavi_GetAVISize(INT aviId, float* pSizeKb) {
    CallGate call("isavi_GetAVISize");
    call.arg(aviId).out(pSizeKb);
    return onInstance(call, aviId, [&](AviRecorder& avi) { return avi.sizeKb(pSizeKb); });
}

INT isavi_StopAVI(INT aviId) {
    CallGate call("isavi_StopAVI");
    call.arg(aviId);
    return onInstance(call, aviId, [](AviRecorder& avi) { return avi.stop(); });
}

INT isavi_CloseAVI(INT aviId) {
    CallGate call("isavi_CloseAVI");
    call.arg(aviId);
    return onInstance(call, aviId, [](AviRecorder& avi) { return avi.close(); });
}
