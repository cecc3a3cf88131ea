#include "ToneCurves.h"

#include <algorithm>
#include <cmath>

namespace ueye_sim::detail {
namespace {

double gainFactor(int gain) { return 1.0 + gain / 50.0; }

std::array<std::uint8_t, 256> curve(double scale, double exponent, double offset) {
    std::array<std::uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        const double signal = std::min(value * scale / 255.0, 1.0);
        const double pixel = 255.0 * std::pow(signal, exponent) + offset;
        table[value] = static_cast<std::uint8_t>(std::clamp(std::lround(pixel), 0L, 255L));
    }
    return table;
}

}  // namespace

ToneCurves toneCurves(const CameraSettings& settings, bool colorSensor) {
    const double common = (settings.exposureMs / kReferenceExposureMs) * gainFactor(settings.masterGain);
    const double exponent = static_cast<double>(kNeutralGamma) / std::max(settings.gamma, 1);
    const double offset = (settings.brightness - kNeutralBrightness) / 2.0;
    if (!colorSensor) {
        const auto grey = curve(common, exponent, offset);
        return {grey, grey, grey};
    }
    return {curve(common * gainFactor(settings.redGain), exponent, offset),
            curve(common * gainFactor(settings.greenGain), exponent, offset),
            curve(common * gainFactor(settings.blueGain), exponent, offset)};
}

}  // namespace ueye_sim::detail
