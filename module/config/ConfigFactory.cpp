// Factory values of a camera model: required, so a missing or unreadable one
// is message 64.
#include <Nimbrel_model/Config.h>

#include "config/ConfigNodes.h"
#include "sdk/Failures.h"

namespace Nimbrel_model {

using namespace confignodes;

namespace {

XMLNode requiredChild(const XMLNode& cameraNode, const hstring& name) {
    XMLNode element = child(cameraNode, name);
    if (element.isNull()) throwConfigMissing();
    return element;
}

XMLNode factoryElement(const XMLDoc& doc, const hstring& camera, const hstring& name) {
    return requiredChild(cameraElement(doc, camera), name);
}

long factoryWhole(const XMLNode& element) {
    long value = 0;
    if (!parseWhole(element.getText(), value)) throwConfigMissing();
    return value;
}

long factoryWhole(const XMLDoc& doc, const hstring& camera, const hstring& name) {
    return factoryWhole(factoryElement(doc, camera, name));
}

bool factoryBoolean(const XMLDoc& doc, const hstring& camera, const hstring& name) {
    return XMLDoc::castBoolean(factoryElement(doc, camera, name).getText());
}

}  // namespace

long Config::getMasterGain(const hstring& camera) const {
    const XMLNode cameraNode = cameraElement(doc, camera);
    const XMLNode master = requiredChild(cameraNode, "MasterGain");
    // -1 tells the caller the factory state is auto gain; the gain text is not read then.
    const XMLNode autoGain = child(cameraNode, "AutoGain");
    if (!autoGain.isNull() && autoGain.getText().ci_eq("true")) return -1;
    return factoryWhole(master);
}

long Config::getRedGain(const hstring& camera) const { return factoryWhole(doc, camera, "RedGain"); }
long Config::getGreenGain(const hstring& camera) const { return factoryWhole(doc, camera, "GreenGain"); }
long Config::getBlueGain(const hstring& camera) const { return factoryWhole(doc, camera, "BlueGain"); }
bool Config::getAutoGain(const hstring& camera) const { return factoryBoolean(doc, camera, "AutoGain"); }
long Config::getBrightness(const hstring& camera) const { return factoryWhole(doc, camera, "Brightness"); }

double Config::getExposure(const hstring& camera) const {
    double value = 0.0;
    if (!parseReal(factoryElement(doc, camera, "Exposure").getText(), value)) throwConfigMissing();
    return value;
}

long Config::getClock(const hstring& camera) const { return factoryWhole(doc, camera, "Clock"); }
long Config::getGamma(const hstring& camera) const { return factoryWhole(doc, camera, "Gamma"); }
bool Config::getBLEnable(const hstring& camera) const { return factoryBoolean(doc, camera, "BLEnable"); }
long Config::getBlackLevel(const hstring& camera) const { return factoryWhole(doc, camera, "BlackLevel"); }
long Config::getColorMode(const hstring& camera) const { return factoryWhole(doc, camera, "ColorMode"); }

long Config::getColorCorrection(const hstring& camera) const { return factoryWhole(doc, camera, "ColorCorrection"); }

}  // namespace Nimbrel_model
