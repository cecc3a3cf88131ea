// The host's AVI recording settings, children of the root. Never an error:
// an absent or unusable value reads as 0.
#include <Nimbrel_model/Config.h>

#include "config/ConfigNodes.h"

#include <cmath>
#include <limits>

namespace Nimbrel_model {

using namespace confignodes;

namespace {

// What the parse leaves: 0 when nothing could be read.
long recordingValue(const XMLDoc& doc, const hstring& name) {
    long value = 0;
    parseWhole(child(doc.getRoot(), name).getText(), value);
    return value;
}

void setRecordingValue(XMLDoc& doc, const hstring& name, const long& value) {
    setChildText(doc.getRoot(), name, wholeText(value));
    saveDocument(doc);
}

// Truncates toward zero; clamps outside long and maps NaN to 0, so no input is undefined.
long truncateToLong(double value) {
    if (std::isnan(value)) return 0;
    // -min is a power of two, exact as a double; anything at or past it does not fit.
    const double limit = -static_cast<double>(std::numeric_limits<long>::min());
    if (value >= limit) return std::numeric_limits<long>::max();
    if (value < -limit) return std::numeric_limits<long>::min();
    return static_cast<long>(value);
}

}  // namespace

long Config::getAviUserReplayFrameRate() const { return recordingValue(doc, "AviUserReplayFrameRate"); }
long Config::getAviUserMaxSize() const { return recordingValue(doc, "AviUserMaxSize"); }
long Config::getAviUserFrameRate() const { return recordingValue(doc, "AviUserFrameRate"); }
long Config::getAviUserLength() const { return recordingValue(doc, "AviUserLength"); }

void Config::setAviUserReplayFrameRate(const long& value) { setRecordingValue(doc, "AviUserReplayFrameRate", value); }

void Config::setAviUserMaxSize(const long& value) { setRecordingValue(doc, "AviUserMaxSize", value); }
void Config::setAviUserFrameRate(const long& value) { setRecordingValue(doc, "AviUserFrameRate", value); }
void Config::setAviUserLength(const long& value) { setRecordingValue(doc, "AviUserLength", value); }

bool Config::isUserRecordingDefined() const { return hasChildMatching(doc.getRoot(), "AviUser*"); }

void Config::resetUserRecordSettings() {
    removeChildrenMatching(doc.getRoot(), "AviUser*");
    saveDocument(doc);
    recordConfSaved = true;
}

// Four setters, four saves; the flag only once all four are written.
void Config::saveUserRecordSettings(const double& length, const double& frameRate, const double& maxSize,
                                    const long& replayFrameRate) {
    setAviUserLength(truncateToLong(length));
    setAviUserFrameRate(truncateToLong(frameRate));
    setAviUserMaxSize(truncateToLong(maxSize));
    setAviUserReplayFrameRate(replayFrameRate);
    recordConfSaved = true;
}

}  // namespace Nimbrel_model
