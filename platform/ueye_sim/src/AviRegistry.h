// The live instances of the AVI tools, by id. Ids start at 1 and only grow.
// ueye_sim::reset() calls resetAvi(); ueye_sim::openAviInstances() returns
// openAviCount().
#pragma once

#include <memory>

namespace ueye_sim::detail {

class AviRecorder;

// A new instance and its id; 0 once the ids have run out.
int createAvi();
// The instance of that id, or null.
std::shared_ptr<AviRecorder> findAvi(int id);
// Takes the instance out of the registry, or null for an unknown id.
std::shared_ptr<AviRecorder> takeAvi(int id);

// Releases every instance, finishing and closing files still open.
void resetAvi();
// Instances not yet released.
int openAviCount();

}  // namespace ueye_sim::detail
