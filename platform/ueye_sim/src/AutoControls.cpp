#include "AutoControls.h"

namespace ueye_sim::detail {
namespace {

constexpr double kGainTolerance = 4.0;     // grey levels around the reference
constexpr double kBalanceTolerance = 2.0;  // grey levels between channels

void nudge(int& gain, double mean, double goal, double tolerance) {
    if (mean < goal - tolerance && gain < kGainMax)
        ++gain;
    else if (mean > goal + tolerance && gain > 0)
        --gain;
}

}  // namespace

void applyAutoControls(CameraSettings& settings, const FrameMeans& means) {
    if (settings.autoGain) {
        const double grey = 0.299 * means.red + 0.587 * means.green + 0.114 * means.blue;
        nudge(settings.masterGain, grey, settings.autoReference, kGainTolerance);
    }
    if (settings.autoWhiteBalance) {
        const double goal = (means.red + means.green + means.blue) / 3.0;
        nudge(settings.redGain, means.red, goal, kBalanceTolerance);
        nudge(settings.greenGain, means.green, goal, kBalanceTolerance);
        nudge(settings.blueGain, means.blue, goal, kBalanceTolerance);
    }
}

}  // namespace ueye_sim::detail
