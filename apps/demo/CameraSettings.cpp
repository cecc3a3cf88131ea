#include "CameraSettings.h"

#include "CameraReport.h"
#include "Format.h"
#include "SettingRanges.h"

#include <cmath>

namespace demo {

using host::number;

void applySettings(Nimbrel_model::Camera& camera, const DemoOptions& options, std::ostream& out) {
    // The area and the gain are refused before anything changes; frame rate
    // and exposure at their turn, since each bounds the next.
    if (options.aoi) {
        host::requireWholeInRange("--aoi width", options.aoi->width, camera.getWidthRange(), "pixels");
        host::requireWholeInRange("--aoi height", options.aoi->height, camera.getHeightRange(), "pixels");
    }
    if (options.masterGain) host::requireWholeInRange("--gain", *options.masterGain, camera.getGainRange());
    if (options.aoi) {
        camera.setAOI(options.aoi->width, options.aoi->height);
        out << "applying --aoi " << options.aoi->width << "x" << options.aoi->height << "\n  " << areaLine(camera)
            << std::endl;
    }
    if (options.frameRate) {
        host::requireInRange("--fps", *options.frameRate, camera.getFrameRateRange(), "fps");
        camera.setFrameRate(*options.frameRate);
        // The camera may shorten the exposure to fit the new frame time.
        out << "applying --fps " << number(*options.frameRate) << "\n  " << frameRateLine(camera) << "\n  "
            << exposureLine(camera) << std::endl;
    }
    if (options.exposureMs) {
        host::requireInRange("--exposure", *options.exposureMs, camera.getExposureRange(), "ms");
        camera.setExposure(*options.exposureMs);
        out << "applying --exposure " << number(*options.exposureMs) << "\n  " << exposureLine(camera) << std::endl;
    }
    if (options.masterGain) {
        // Only the master gain changes: the colour gains go back as read.
        auto asRead = [](double gain) { return static_cast<int>(std::lround(gain)); };
        camera.setGain(*options.masterGain, asRead(camera.getRedGain()), asRead(camera.getGreenGain()),
                       asRead(camera.getBlueGain()));
        out << "applying --gain " << *options.masterGain << "\n  " << gainsLine(camera) << std::endl;
    }
}

}  // namespace demo
