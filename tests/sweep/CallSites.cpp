#include "Sweep.h"

#include "sdk/ueye_by_role.h"
#include "ueye.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace sweep {

namespace {

// The first argument after the camera handle, as the log writes it.
long long firstArgument(const std::string& arguments) {
    const auto comma = arguments.find(", ");
    if (comma == std::string::npos) return -1;
    try {
        return std::stoll(arguments.substr(comma + 2));
    } catch (const std::exception&) {
        return -1;
    }
}

// The SDK's query forms: called with one of these codes, the function returns
// the value asked for in place of a status, so there is no failure to report.
bool isQuery(const std::string& function, long long code) {
    static const std::map<std::string, std::set<long long>> queries = {
        {"is_SetHardwareGain", {IS_GET_MASTER_GAIN, IS_GET_RED_GAIN, IS_GET_GREEN_GAIN, IS_GET_BLUE_GAIN}},
        {"is_SetBrightness", {IS_GET_BRIGHTNESS}},
        {"is_SetGamma", {IS_GET_GAMMA}},
        {"is_SetPixelClock", {IS_GET_PIXEL_CLOCK}},
        {"is_SetColorMode", {IS_GET_COLOR_MODE}},
        {"is_SetBinning", {IS_GET_BINNING}},
        {"is_SetDisplayMode", {IS_GET_DISPLAY_MODE}},
        {"is_SetExternalTrigger", {IS_GET_EXTERNALTRIGGER}},
        {"is_SetImagePos",
         {IS_GET_IMAGE_POS_X_INC, IS_GET_IMAGE_POS_Y_INC, IS_GET_IMAGE_POS_X_MAX, IS_GET_IMAGE_POS_Y_MAX}},
    };
    const auto found = queries.find(function);
    return found != queries.end() && found->second.count(code) > 0;
}

}  // namespace

std::string CallSite::label() const {
    std::ostringstream text;
    text << function << "#" << occurrence << "(" << arguments << ")";
    return text.str();
}

bool isChecked(const ueye_sim::CallRecord& call) {
    const auto& dropped = ueye_role::kStatusDropped;
    if (std::find(std::begin(dropped), std::end(dropped), call.function) != std::end(dropped)) return false;
    return !isQuery(call.function, firstArgument(call.arguments));
}

std::vector<CallSite> callSites(const std::vector<ueye_sim::CallRecord>& log, bool onWorkerThread) {
    std::map<std::string, int> seen;
    std::vector<CallSite> sites;
    for (const auto& call : log)
        sites.push_back({call.function, ++seen[call.function], call.arguments, !onWorkerThread && isChecked(call)});
    return sites;
}

const ueye_sim::CallRecord* findCall(const std::vector<ueye_sim::CallRecord>& log, const std::string& function,
                                     int occurrence) {
    int seen = 0;
    for (const auto& call : log)
        if (call.function == function && ++seen == occurrence) return &call;
    return nullptr;
}

}  // namespace sweep
