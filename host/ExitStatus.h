// The exit statuses of every host, so that a script reads them alike.
#pragma once

namespace host::exitStatus {

constexpr int kDone = 0;
constexpr int kFailed = 1;         // a camera, file or settings failure
constexpr int kUsage = 2;          // a malformed command line, or a value outside the open camera's range
constexpr int kInterrupted = 130;  // SIGINT, SIGTERM or SIGHUP

}  // namespace host::exitStatus
