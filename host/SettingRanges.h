// Values checked against the ranges the open camera reports, before they
// reach it: a refused value names the setting, the value and the range, and
// the camera is left untouched. The same words in every host and the binding.
#pragma once

#include "CommandLine.h"

#include <Nimbrel_model/Camera.h>

#include <string>

namespace host {

// A value outside the camera's range. A UsageError: a console host ends
// with exitStatus::kUsage.
class OutOfRange : public UsageError {
public:
    using UsageError::UsageError;
};

// "0.01 to 40 ms, in steps of 0.01" (no steps for a step of 0).
std::string describeRange(const Nimbrel_model::SettingRange& range, const std::string& unit = "");

// OutOfRange "<setting> <value> is outside the camera's range, <range>"
// unless the range holds `value` (NaN never is held). `shown` is the value as
// the user gave it, when it is not a plain number (e.g. "9999x9999").
void requireInRange(const std::string& setting, double value, const Nimbrel_model::SettingRange& range,
                    const std::string& unit = "", const std::string& shown = "");

// The same for a setting in whole units: also refuses a fractional value.
void requireWholeInRange(const std::string& setting, double value, const Nimbrel_model::SettingRange& range,
                         const std::string& unit = "");

}  // namespace host
