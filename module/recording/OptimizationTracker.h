// Counts the optimisation threads alive, so that reopening the camera can
// wait for them instead of closing the camera under them.
#pragma once

namespace Nimbrel_model {

void optimizationStarted();
void optimizationEnded();
// Waits until no optimisation thread is alive, at most a little longer than
// the SDK's own time-out for the search. Returns true when none is left.
bool waitForOptimizations();

}  // namespace Nimbrel_model
