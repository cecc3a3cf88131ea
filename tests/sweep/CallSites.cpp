#include "Sweep.h"

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

bool isQuery(const std::string& function, long long code) {
    static const std::map<std::string, std::set<long long>> queries = {
        {"is_SetHardwareGain", {0x8000, 0x8001, 0x8002, 0x8003}},
        {"is_SetBrightness", {0x8000}},
        {"is_SetImagePos", {0xC003, 0xC004, 0xC007, 0xC008}},
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
    if (call.function == "is_UncheckedSetup" || call.function == "is_GetActiveBuffer") return false;
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
