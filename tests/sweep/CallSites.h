// The SDK call sites of one operation, read from the simulator's call log:
// each call, numbered by its occurrence among the calls of the same function.
#pragma once

#include <ueye_sim/Control.h>

#include <string>
#include <vector>

namespace sweep {

struct CallSite {
    std::string function;
    int occurrence;       // from 1, among this operation's calls of `function`
    std::string arguments;
    bool checked;         // the module must report its failure
    std::string label() const;  // "function#occurrence(arguments)"
};

// The call sites of a clean run's log. `onWorkerThread`: the calls come from
// the optimisation thread, which reports nothing.
std::vector<CallSite> callSites(const std::vector<ueye_sim::CallRecord>& log, bool onWorkerThread);

// Whether the module checks this call's status: every call but the unchecked
// set-up call, the active-buffer query and the query forms of the gain,
// brightness and image position calls, which return a value in place of a status.
bool isChecked(const ueye_sim::CallRecord& call);

// The `occurrence`-th call of `function` in `log`, or nullptr.
const ueye_sim::CallRecord* findCall(const std::vector<ueye_sim::CallRecord>& log, const std::string& function,
                                     int occurrence);

}  // namespace sweep
