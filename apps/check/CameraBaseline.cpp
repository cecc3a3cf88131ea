#include "CameraBaseline.h"

#include "Checks.h"

#include <cmath>

namespace check {

namespace {

int whole(double value) { return static_cast<int>(std::lround(value)); }

std::string onOff(bool on) { return on ? "on" : "off"; }

}  // namespace

CameraBaseline CameraBaseline::read(const Nimbrel_model::Camera& camera) {
    CameraBaseline b;
    b.name = camera.getName().str();
    b.maxWidth = camera.getMaxWidth();
    b.maxHeight = camera.getMaxHeight();
    b.color = camera.isColor();
    b.gain = whole(camera.getGain());
    b.redGain = whole(camera.getRedGain());
    b.greenGain = whole(camera.getGreenGain());
    b.blueGain = whole(camera.getBlueGain());
    b.autoGain = camera.isGainAuto();
    b.brightness = camera.getBrightness();
    b.exposure = camera.getExposure();
    b.frameRate = camera.getFrameRate();
    b.width = camera.getWidth();
    b.height = camera.getHeight();
    return b;
}

void CameraBaseline::apply(Nimbrel_model::Camera& camera) const {
    if (width == maxWidth && height == maxHeight)
        camera.setDefaultAOI();
    else
        camera.setAOI(width, height);
    // The frame rate bounds the exposure: rate first.
    camera.setFrameRate(frameRate);
    camera.setExposure(exposure);
    camera.setAutoGain(false);
    camera.setGain(gain, redGain, greenGain, blueGain);
    camera.setAutoGain(autoGain);
    camera.setBrightness(brightness);
}

std::string differences(const CameraBaseline& actual, const CameraBaseline& wanted) {
    std::string found;
    const auto whole = [&](const char* what, long a, long w) {
        if (a != w)
            found += std::string(found.empty() ? "" : "; ") + what + " " + std::to_string(a) + ", expected " +
                     std::to_string(w);
    };
    const auto real = [&](const char* what, double a, double w) {
        if (!near(a, w, 0.02, 0.02))
            found += std::string(found.empty() ? "" : "; ") + what + " " + show(a) + ", expected " + show(w);
    };
    if (actual.autoGain != wanted.autoGain)
        found = "automatic gain " + onOff(actual.autoGain) + ", expected " + onOff(wanted.autoGain);
    if (!wanted.autoGain) whole("master gain", actual.gain, wanted.gain);
    whole("red gain", actual.redGain, wanted.redGain);
    whole("green gain", actual.greenGain, wanted.greenGain);
    whole("blue gain", actual.blueGain, wanted.blueGain);
    whole("brightness", actual.brightness, wanted.brightness);
    real("exposure", actual.exposure, wanted.exposure);
    real("frame rate", actual.frameRate, wanted.frameRate);
    whole("width", actual.width, wanted.width);
    whole("height", actual.height, wanted.height);
    return found;
}

}  // namespace check
