// Runs the chosen checks one after the other, timing each, and puts the
// camera back at the end.
#pragma once

#include "Checks.h"
#include "Report.h"

#include <vector>

namespace check {

class Session;

// Every check runs, whatever the ones before it did; a stop request ends the
// run after the check in progress has undone its changes.
Summary runChecks(Session& session, const std::vector<const Check*>& checks);

}  // namespace check
