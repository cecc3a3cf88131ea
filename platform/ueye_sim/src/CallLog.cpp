// The control API's view of the call gates: failures, scripted queries and the log.
#include "CallRegistry.h"
#include "ueye_sim/Control.h"

namespace ueye_sim {

// The header declares this member without the export macro; export it here.
UESIM_API std::string CallRecord::line() const { return function + '(' + arguments + ") -> " + std::to_string(result); }

void failCall(const std::string& function, int status, int nth) {
    detail::CallRegistry::instance().addFailure(function, status, nth);
}

void slowCall(const std::string& function, int microseconds) {
    detail::CallRegistry::instance().addDelay(function, std::chrono::microseconds(microseconds));
}

void scriptQuery(const std::string& function, int firstArg, int result, int nth) {
    detail::CallRegistry::instance().addQueryScript(function, firstArg, result, nth);
}

std::vector<CallRecord> callLog() { return detail::CallRegistry::instance().log(); }

void clearCallLog() { detail::CallRegistry::instance().clearLog(); }

std::vector<std::string> callNames() {
    std::vector<std::string> names;
    for (const auto& record : callLog()) names.push_back(record.function);
    return names;
}

}  // namespace ueye_sim
