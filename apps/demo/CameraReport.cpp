#include "CameraReport.h"

#include "Format.h"
#include "SettingRanges.h"
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

void printRanges(const Nimbrel_model::Camera& camera, std::ostream& out) {
    using host::describeRange;
    out << "ranges the camera accepts now (the exposure's depends on the frame rate):\n"
        << "  " << label("exposure") << describeRange(camera.getExposureRange(), "ms") << "\n"
        << "  " << label("frame rate") << describeRange(camera.getFrameRateRange(), "fps") << "\n"
        << "  " << label("gain") << describeRange(camera.getGainRange()) << "\n"
        << "  " << label("colour gain") << describeRange(camera.getColorGainRange()) << "\n"
        << "  " << label("brightness") << describeRange(camera.getBrightnessRange()) << "\n"
        << "  " << label("area width") << describeRange(camera.getWidthRange(), "pixels") << "\n"
        << "  " << label("area height") << describeRange(camera.getHeightRange(), "pixels") << std::endl;
}

void printConnectedCameras(std::ostream& out) {
    out << "connected cameras (--camera takes the id):\n";
    for (const auto& camera : Nimbrel_model::Camera::getConnectedCameras())
        out << "  " << camera.id << "  " << camera.model.str() << (camera.inUse ? "  (open)" : "") << "\n";
    out << std::flush;
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
