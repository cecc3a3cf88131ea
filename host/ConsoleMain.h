// The frame of a console host's main(): wx asserts printed rather than shown,
// the command line read before anything else, a stop-signal scope around wx
// and the host's work, and every failure turned into one line on stderr and
// the shared exit status.
#pragma once

#include "CommandLine.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace host {

// `prepare` reads the arguments (without the program's name); it returns an
// exit status when that is all there is to do (--help), else std::nullopt.
// A UsageError from it is one line and exitStatus::kUsage, the camera never
// touched. Then wx starts and `run` does the work and gives the status:
// Interrupted ends with exitStatus::kInterrupted, a UsageError (a value
// outside the open camera's range) with exitStatus::kUsage, Qel::Exception
// and std::exception with exitStatus::kFailed.
int runConsoleHost(const CommandLine& line, int argc, char** argv,
                   const std::function<std::optional<int>(const std::vector<std::string>&)>& prepare,
                   const std::function<int()>& run);

}  // namespace host
