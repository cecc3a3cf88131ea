#include "Environment.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>

namespace ueye_sim::detail {
namespace {

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool parseInt(const std::string& text, int& value) {
    try {
        std::size_t used = 0;
        value = std::stoi(text, &used, 0);  // base 0: hexadecimal codes are welcome
        return used == text.size();
    } catch (const std::exception&) {
        return false;
    }
}

// Every function that passes a call gate: a rule for any other name would
// never fire, and a fault-injection run would pass without its fault. A new
// gated function goes here too (scripts/check-gated-functions compares).
// One name a line, so that a name added is a line added.
const std::set<std::string>& gatedFunctions() {
    // clang-format off
    static const std::set<std::string> names{"is_AddToSequence",
                                             "is_AllocImageMem",
                                             "is_CaptureVideo",
                                             "is_ClearSequence",
                                             "is_DisableEvent",
                                             "is_EnableEvent",
                                             "is_ExitCamera",
                                             "is_FreeImageMem",
                                             "is_GetActiveBuffer",
                                             "is_GetFrameTimeRange",
                                             "is_GetImageInfo",
                                             "is_GetOptimalTiming",
                                             "is_GetSensorInfo",
                                             "is_GetSettingRange",
                                             "is_InitCamera",
                                             "is_ListConnectedCameras",
                                             "is_LockSeqBuf",
                                             "is_SetAOI",
                                             "is_SetAutoParameter",
                                             "is_SetBinning",
                                             "is_SetBlCompensation",
                                             "is_SetBrightness",
                                             "is_SetColorCorrection",
                                             "is_SetColorMode",
                                             "is_SetDisplayMode",
                                             "is_SetExposureTime",
                                             "is_SetExternalTrigger",
                                             "is_SetFrameRate",
                                             "is_SetGamma",
                                             "is_SetHardwareGain",
                                             "is_SetAllocatedImageMem",
                                             "is_SetImageMem",
                                             "is_SetImagePos",
                                             "is_SetImageSize",
                                             "is_SetPixelClock",
                                             "is_StopLiveVideo",
                                             "is_UncheckedSetup",
                                             "is_UnlockSeqBuf",
                                             "is_WaitEvent",
                                             "isavi_AddFrame",
                                             "isavi_CloseAVI",
                                             "isavi_ExitAVI",
                                             "isavi_GetAVISize",
                                             "isavi_InitAVI",
                                             "isavi_OpenAVI",
                                             "isavi_SetFrameRate",
                                             "isavi_SetImageQuality",
                                             "isavi_SetImageSize",
                                             "isavi_StartAVI",
                                             "isavi_StopAVI"};
    // clang-format on
    return names;
}

[[noreturn]] void refuseUnknown(const std::string& function) {
    std::cerr << "ueye_sim: UESIM_FAIL names '" << function
              << "', which is no function of this SDK (a misspelling?); the run stops here rather than go on "
                 "without the failure. Known:";
    for (const std::string& name : gatedFunctions()) std::cerr << ' ' << name;
    std::cerr << std::endl;
    std::fflush(nullptr);
    std::_Exit(2);
}

}  // namespace

std::vector<FailureRule> parseFailures(const std::string& text) {
    std::vector<FailureRule> rules;
    std::istringstream entries(text);
    std::string entry;
    while (std::getline(entries, entry, ',')) {
        entry = trimmed(entry);
        if (entry.empty()) continue;
        FailureRule rule;
        const auto equals = entry.find('=');
        bool ok = equals != std::string::npos && parseInt(trimmed(entry.substr(equals + 1)), rule.status);
        if (ok) {
            std::string target = trimmed(entry.substr(0, equals));
            const auto at = target.find('@');
            if (at != std::string::npos) {
                ok = parseInt(trimmed(target.substr(at + 1)), rule.nth) && rule.nth > 0;
                target = trimmed(target.substr(0, at));
            }
            rule.function = target;
            ok = ok && !rule.function.empty();
        }
        if (ok && gatedFunctions().count(rule.function) == 0) refuseUnknown(rule.function);
        if (ok) {
            rules.push_back(rule);
        } else {
            std::cerr << "ueye_sim: ignoring UESIM_FAIL entry \"" << entry << "\"\n";
        }
    }
    return rules;
}

Environment Environment::read() {
    Environment environment;
    environment.camera = trimmed(variable("UESIM_CAMERA"));
    environment.failures = parseFailures(variable("UESIM_FAIL"));
    environment.tracePath = variable("UESIM_TRACE");
    std::istringstream names(variable("UESIM_CAMERAS"));
    std::string name;
    while (std::getline(names, name, ','))
        if (!trimmed(name).empty()) environment.cameras.push_back(trimmed(name));
    environment.stamp = trimmed(variable("UESIM_STAMP")) == "1";
    return environment;
}

}  // namespace ueye_sim::detail
