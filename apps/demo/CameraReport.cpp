#include "CameraReport.h"

#include "Format.h"
#include "SimulatorReadings.h"

namespace demo {

using host::number;

namespace {

std::string label(const std::string& name) {
    constexpr std::size_t width = 13;
    std::string text = name + ":";
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

}  // namespace

void printCameraReport(const Nimbrel_model::Camera& camera, std::ostream& out) {
    out << label("camera") << camera.getName().str() << ", " << camera.getMaxWidth() << "x" << camera.getMaxHeight()
        << " pixels, " << (camera.isColor() ? "colour" : "monochrome") << "\n"
        << gainsLine(camera) << "\n"
        << exposureLine(camera) << "\n"
        << frameRateLine(camera) << "\n"
        << areaLine(camera) << "\n"
        << pixelClockLine() << std::endl;
}

std::string gainsLine(const Nimbrel_model::Camera& camera) {
    return label("gains") + "master " + number(camera.getGain()) + ", red " + number(camera.getRedGain()) + ", green " +
           number(camera.getGreenGain()) + ", blue " + number(camera.getBlueGain()) + ", auto " +
           (camera.isGainAuto() ? "on" : "off");
}

std::string exposureLine(const Nimbrel_model::Camera& camera) {
    return label("exposure") + number(camera.getExposure()) + " ms";
}

std::string frameRateLine(const Nimbrel_model::Camera& camera) {
    return label("frame rate") + number(camera.getFrameRate()) + " fps";
}

std::string areaLine(const Nimbrel_model::Camera& camera) {
    return label("area") + std::to_string(camera.getWidth()) + "x" + std::to_string(camera.getHeight()) + " at " +
           std::to_string(camera.getPosX()) + "," + std::to_string(camera.getPosY());
}

std::string pixelClockLine() { return label("pixel clock") + host::pixelClockReading(); }

}  // namespace demo
