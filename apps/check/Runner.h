// Runs the chosen checks one after the other, timing each, and puts the
// camera back at the end.
#pragma once

#include "Checks.h"
#include "Report.h"

#include <chrono>
#include <functional>
#include <vector>

namespace check {

class Session;

// Called on the watchdog's thread when a check does not finish within its
// deadline: the results so far, the stuck check's failure last. Must end the
// process.
using HungRun = std::function<void(const Summary&)>;

// Every check runs, whatever the ones before it did; a stop request ends the
// run after the check in progress has undone its changes.
Summary runChecks(Session& session, const std::vector<const Check*>& checks, std::chrono::milliseconds deadline,
                  const HungRun& hung);

}  // namespace check
