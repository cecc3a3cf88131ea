// Runs an operation clean, or with one of its SDK calls failing.
#pragma once

#include <string>
#include <vector>

#include "CallSites.h"
#include "Operations.h"

namespace sweep {

// The SDK calls of a clean run, in order. Failures of the run itself are
// added to `problems`.
std::vector<ueye_sim::CallRecord> recordCleanRun(const Operation& operation, std::vector<std::string>& problems);

struct FaultResult {
    // What went wrong: the wrong report of the failure, a leftover camera,
    // image memory or AVI instance, a camera that does not work again.
    std::vector<std::string> problems;
    // Accepted consequences worth knowing, e.g. a later call failing because
    // a query's failure status was taken as its value.
    std::vector<std::string> notes;
};

// Runs `operation` afresh with `site` failing with `status`, then closes the
// camera, checks that nothing is left, and opens it again.
FaultResult runWithFailure(const Operation& operation, const CallSite& site, int status);

}  // namespace sweep
