// The user preset of a camera model: optional values, so a missing or
// unreadable one gives false instead of an error.
#include <Nimbrel_model/Config.h>

#include "config/ConfigNodes.h"

namespace Nimbrel_model {

using namespace confignodes;

namespace {

bool userWhole(const XMLNode& cameraNode, const hstring& name, long& value) {
    const XMLNode element = child(cameraNode, name);
    if (element.isNull()) return false;
    long parsed = 0;
    if (!parseWhole(element.getText(), parsed)) return false;
    value = parsed;
    return true;
}

bool userWhole(const XMLDoc& doc, const hstring& camera, const hstring& name, long& value) {
    return userWhole(cameraElement(doc, camera), name, value);
}

bool userReal(const XMLDoc& doc, const hstring& camera, const hstring& name, double& value) {
    const XMLNode element = child(cameraElement(doc, camera), name);
    if (element.isNull()) return false;
    double parsed = 0.0;
    if (!parseReal(element.getText(), parsed)) return false;
    value = parsed;
    return true;
}

// A stored size outside int is clamped rather than wrapped.
bool userSize(const XMLNode& cameraNode, const hstring& name, int& value) {
    long parsed = 0;
    if (!userWhole(cameraNode, name, parsed)) return false;
    value = toStoredInt(parsed);
    return true;
}

void setUserText(XMLDoc& doc, const hstring& camera, const hstring& name, const hstring& text) {
    setChildText(cameraElement(doc, camera), name, text);
    saveDocument(doc);
}

}  // namespace

bool Config::isUserDefined(const hstring& camera) const {
    return hasChildMatching(cameraElement(doc, camera), "UserMasterGain");
}

bool Config::getUserMasterGain(const hstring& camera, long& value) const {
    return userWhole(doc, camera, "UserMasterGain", value);
}

bool Config::getUserRedGain(const hstring& camera, long& value) const {
    return userWhole(doc, camera, "UserRedGain", value);
}

bool Config::getUserGreenGain(const hstring& camera, long& value) const {
    return userWhole(doc, camera, "UserGreenGain", value);
}

bool Config::getUserBlueGain(const hstring& camera, long& value) const {
    return userWhole(doc, camera, "UserBlueGain", value);
}

bool Config::getUserAutoGain(const hstring& camera, bool& value) const {
    const XMLNode element = child(cameraElement(doc, camera), "UserAutoGain");
    if (element.isNull()) return false;
    value = XMLDoc::castBoolean(element.getText());
    return true;
}

bool Config::getUserBrightness(const hstring& camera, long& value) const {
    return userWhole(doc, camera, "UserBrightness", value);
}

bool Config::getUserExposure(const hstring& camera, double& value) const {
    return userReal(doc, camera, "UserExposure", value);
}

bool Config::getUserFramerate(const hstring& camera, double& value) const {
    return userReal(doc, camera, "UserFramerate", value);
}

// The width is stored even when the height then turns out missing.
bool Config::getUserSizes(const hstring& camera, int& width, int& height) const {
    const XMLNode cameraNode = cameraElement(doc, camera);
    return userSize(cameraNode, "UserWidth", width) && userSize(cameraNode, "UserHeight", height);
}

void Config::setUserMasterGain(const hstring& camera, const long& value) {
    setUserText(doc, camera, "UserMasterGain", wholeText(value));
}

void Config::setUserRedGain(const hstring& camera, const long& value) {
    setUserText(doc, camera, "UserRedGain", wholeText(value));
}

void Config::setUserGreenGain(const hstring& camera, const long& value) {
    setUserText(doc, camera, "UserGreenGain", wholeText(value));
}

void Config::setUserBlueGain(const hstring& camera, const long& value) {
    setUserText(doc, camera, "UserBlueGain", wholeText(value));
}

void Config::setUserAutoGain(const hstring& camera, const bool& value) {
    setUserText(doc, camera, "UserAutoGain", booleanText(value));
}

void Config::setUserBrightness(const hstring& camera, const long& value) {
    setUserText(doc, camera, "UserBrightness", wholeText(value));
}

void Config::setUserExposure(const hstring& camera, const double& value) {
    setUserText(doc, camera, "UserExposure", realText(value));
}

void Config::setUserFramerate(const hstring& camera, const double& value) {
    setUserText(doc, camera, "UserFramerate", realText(value));
}

// Both sizes, then one save.
void Config::setUserSizes(const hstring& camera, const int& width, const int& height) {
    const XMLNode cameraNode = cameraElement(doc, camera);
    setChildText(cameraNode, "UserWidth", wholeText(width));
    setChildText(cameraNode, "UserHeight", wholeText(height));
    saveDocument(doc);
}

bool Config::clearUserSettings(const hstring& camera) {
    removeChildrenMatching(cameraElement(doc, camera), "User*");
    saveDocument(doc);
    return true;
}

}  // namespace Nimbrel_model
