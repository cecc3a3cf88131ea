#include "Ranges.h"

#include "SettingRanges.h"

#include <cmath>

namespace nimbrel_python {

namespace {

namespace nm = Nimbrel_model;

// IS_IGNORE_PARAMETER: the camera keeps that gain as it is.
constexpr int keepGain = -1;

template <typename Check>
void refuseAsValueError(Check check) {
    try {
        check();
    } catch (const host::OutOfRange& refused) {
        throw py::value_error(refused.what());
    }
}

py::tuple asTuple(const nm::SettingRange& range, bool whole) {
    if (whole) return py::make_tuple(std::lround(range.min), std::lround(range.max), std::lround(range.step));
    return py::make_tuple(range.min, range.max, range.step);
}

template <nm::SettingRange (nm::Camera::*Range)() const>
void rangeProperty(py::class_<Camera>& cls, const char* name, bool whole, const char* doc) {
    cls.def_property_readonly(
        name, [whole](Camera& s) { return asTuple((s.camera().*Range)(), whole); }, doc);
}

int gainOrKeep(const std::optional<double>& gain) { return gain ? static_cast<int>(*gain) : keepGain; }

}  // namespace

void bindRanges(py::class_<Camera>& cls) {
    rangeProperty<&nm::Camera::getExposureRange>(
        cls, "exposure_range", false,
        "(min, max, step) of exposure in milliseconds for the current frame rate; a lower frame rate allows more.");
    rangeProperty<&nm::Camera::getFrameRateRange>(
        cls, "frame_rate_range", false,
        "(min, max, step) of frame_rate for the current area of interest; step 0: any value between.");
    rangeProperty<&nm::Camera::getGainRange>(cls, "gain_range", true, "(min, max, step) of gain.");
    rangeProperty<&nm::Camera::getColorGainRange>(cls, "color_gain_range", true,
                                                  "(min, max, step) of red_gain, green_gain and blue_gain.");
    rangeProperty<&nm::Camera::getBrightnessRange>(cls, "brightness_range", true, "(min, max, step) of brightness.");
    rangeProperty<&nm::Camera::getWidthRange>(
        cls, "width_range", true, "(min, max, step) of the width set_aoi() takes; it rounds down to the step.");
    rangeProperty<&nm::Camera::getHeightRange>(cls, "height_range", true,
                                               "(min, max, step) of the height set_aoi() takes.");
}

void setExposureChecked(nm::Camera& camera, double milliseconds) {
    refuseAsValueError([&] { host::requireInRange("exposure", milliseconds, camera.getExposureRange(), "ms"); });
    camera.setExposure(milliseconds);
}

void setFrameRateChecked(nm::Camera& camera, double fps) {
    refuseAsValueError([&] { host::requireInRange("frame_rate", fps, camera.getFrameRateRange(), "fps"); });
    camera.setFrameRate(fps);
}

void setBrightnessChecked(nm::Camera& camera, double value) {
    refuseAsValueError([&] { host::requireWholeInRange("brightness", value, camera.getBrightnessRange()); });
    camera.setBrightness(static_cast<int>(value));
}

void setGainsChecked(nm::Camera& camera, std::optional<double> master, std::optional<double> red,
                     std::optional<double> green, std::optional<double> blue) {
    refuseAsValueError([&] {
        if (master) host::requireWholeInRange("gain", *master, camera.getGainRange());
        if (!red && !green && !blue) return;
        const nm::SettingRange colour = camera.getColorGainRange();
        if (red) host::requireWholeInRange("red_gain", *red, colour);
        if (green) host::requireWholeInRange("green_gain", *green, colour);
        if (blue) host::requireWholeInRange("blue_gain", *blue, colour);
    });
    camera.setGain(gainOrKeep(master), gainOrKeep(red), gainOrKeep(green), gainOrKeep(blue));
}

void setAoiChecked(nm::Camera& camera, double width, double height) {
    refuseAsValueError([&] {
        host::requireWholeInRange("width", width, camera.getWidthRange(), "pixels");
        host::requireWholeInRange("height", height, camera.getHeightRange(), "pixels");
    });
    camera.setAOI(static_cast<int>(width), static_cast<int>(height));
}

}  // namespace nimbrel_python
