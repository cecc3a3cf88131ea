#include "CameraBaseline.h"

#include <cmath>

namespace check {

namespace {

int whole(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

CameraBaseline CameraBaseline::read(const Nimbrel_model::Camera& camera) {
    CameraBaseline b;
    b.name = camera.getName().str();
    b.maxWidth = camera.getMaxWidth();
    b.maxHeight = camera.getMaxHeight();
    b.colour = camera.isColor();
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

}  // namespace check
