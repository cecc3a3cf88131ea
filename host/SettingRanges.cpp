#include "SettingRanges.h"

#include "Format.h"

#include <cmath>

namespace host {

std::string describeRange(const Nimbrel_model::SettingRange& range, const std::string& unit) {
    const std::string suffix = unit.empty() ? "" : " " + unit;
    std::string text = number(range.min) + " to " + number(range.max) + suffix;
    if (range.step > 0.0) text += ", in steps of " + number(range.step);
    return text;
}

void requireInRange(const std::string& setting, double value, const Nimbrel_model::SettingRange& range,
                    const std::string& unit, const std::string& shown) {
    if (range.contains(value)) return;
    throw OutOfRange(setting + " " + (shown.empty() ? number(value) : shown) + " is outside the camera's range, " +
                     describeRange(range, unit));
}

void requireWholeInRange(const std::string& setting, double value, const Nimbrel_model::SettingRange& range,
                         const std::string& unit) {
    requireInRange(setting, value, range, unit);
    if (value != std::trunc(value)) throw OutOfRange(setting + " " + number(value) + " is not a whole number");
}

}  // namespace host
