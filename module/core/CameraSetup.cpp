// Acquisition set-up: the user preset or the factory values, the fixed image
// parameters, and the one image memory that capture writes into.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include "core/Narrow.h"
#include "sdk/Failures.h"
#include "sdk/ueye_by_role.h"
#include "stream/StreamControl.h"

namespace Nimbrel_model {

namespace {
// The fixed arguments of the unchecked set-up call.
const INT kUncheckedSetupMode = 2;
const INT kUncheckedSetupParam = 0;
}  // namespace

void Camera::setDefaults() {
    // A running frame stream waits while the image memory is replaced.
    const FrameStreamPause streamPause(true);
    Config* config = Config::getInstance();
    const hstring name = getName();
    const bool user = config->isUserDefined(name);

    if (user) {
        long master = 0, red = 0, green = 0, blue = 0;
        bool autoGain = true;
        config->getUserMasterGain(name, master);
        config->getUserRedGain(name, red);
        config->getUserGreenGain(name, green);
        config->getUserBlueGain(name, blue);
        config->getUserAutoGain(name, autoGain);
        setGain(clampToInt(master), clampToInt(red), clampToInt(green), clampToInt(blue));
        setAutoGain(autoGain);
        long brightness = 0;
        config->getUserBrightness(name, brightness);
        setBrightness(clampToInt(brightness));
    } else {
        setDefaultGain();
        setDefaultBrightness();
        setDefaultFrameRate();
    }

    checkSdk(is_SetGamma(camHandle, clampToInt(config->getGamma(name))), "is_SetGamma");
    if (config->getBLEnable(name))
        checkSdk(is_SetBlCompensation(camHandle, 1, clampToInt(config->getBlackLevel(name)), 0),
                 "is_SetBlCompensation");
    else
        checkSdk(is_SetBlCompensation(camHandle, 0, 0, 0), "is_SetBlCompensation");
    checkSdk(is_SetColorCorrection(camHandle, clampToInt(config->getColorCorrection(name)), nullptr),
             "is_SetColorCorrection");
    checkSdk(is_SetColorMode(camHandle, color ? IS_CM_RGB8_PACKED : IS_CM_MONO8), "is_SetColorMode");
    checkSdk(is_SetPixelClock(camHandle, clampToInt(config->getClock(name))), "is_SetPixelClock");

    if (user) {
        double exposure = 0.0;
        config->getUserExposure(name, exposure);
        setExposure(exposure);
    } else {
        setDefaultExposure();
    }

    double reference = 128.0, unused = 0.0;
    checkSdk(is_SetAutoParameter(camHandle, IS_SET_AUTO_REFERENCE, &reference, &unused), "is_SetAutoParameter");
    double off = 0.0, off2 = 0.0;
    checkSdk(is_SetAutoParameter(camHandle, IS_SET_ENABLE_AUTO_SHUTTER, &off, &off2), "is_SetAutoParameter");
    off = 0.0, off2 = 0.0;
    checkSdk(is_SetAutoParameter(camHandle, IS_SET_ENABLE_AUTO_WHITEBALANCE, &off, &off2), "is_SetAutoParameter");

    ueye_role::uncheckedSetup(camHandle, kUncheckedSetupMode, kUncheckedSetupParam);
    checkSdk(is_SetBinning(camHandle, IS_BINNING_DISABLE), "is_SetBinning");

    if (user) {
        int width = 0, height = 0;
        config->getUserSizes(name, width, height);
        setAOI(width, height);
    } else {
        checkSdk(is_SetImageSize(camHandle, getMaxWidth(), getMaxHeight()), "is_SetImageSize");
    }

    checkSdk(is_SetDisplayMode(camHandle, IS_SET_DM_DIB), "is_SetDisplayMode");

    // A host calling this on a set-up camera would otherwise leak the earlier memory.
    if (imageMemory) {
        checkSdk(is_FreeImageMem(camHandle, imageMemory, memId), "is_FreeImageMem");
        imageMemory = nullptr;
    }
    checkSdk(is_AllocImageMem(camHandle, getMaxWidth(), getMaxHeight(), color ? 24 : 8, &imageMemory, &memId),
             "is_AllocImageMem");
    checkSdk(is_SetImageMem(camHandle, imageMemory, memId), "is_SetImageMem");
    checkSdk(is_ClearSequence(camHandle), "is_ClearSequence");
    checkSdk(is_AddToSequence(camHandle, imageMemory, memId), "is_AddToSequence");
    checkSdk(is_SetExternalTrigger(camHandle, IS_SET_TRIGGER_OFF), "is_SetExternalTrigger");

    if (user) {
        double frameRate = 0.0;
        config->getUserFramerate(name, frameRate);
        setFrameRate(frameRate);
        config->setConfSaved(true);
    }
}

}  // namespace Nimbrel_model
