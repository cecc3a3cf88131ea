// Where a recording may go, checked before anything is opened or deleted:
// starting a recording replaces the file, and the writer's open would block
// on a FIFO, write to a device, or cut a name at a NUL and write another file.
#pragma once

#include <string>

namespace host {

// "" when `path` names a regular file or nothing yet; else why not, e.g.
// "'/tmp/p' is a FIFO (named pipe), not a regular file".
std::string recordingTargetProblem(const std::string& path);

}  // namespace host
