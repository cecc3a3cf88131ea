// nimbrel-check's command line.
#pragma once

#include "CommandLine.h"

#include <optional>
#include <string>
#include <vector>

namespace check {

struct Options {
    bool help = false;
    bool list = false;
    std::string jsonFile;               // --json FILE
    std::vector<std::string> only;      // --only NAME (repeatable, or comma-separated)
    std::optional<std::string> appDir;  // --app-dir DIR: where res/config.xml is
    std::optional<std::string> camera;  // --camera NAME
    double deadline = 60.0;             // --deadline SECONDS: longest a check may take
};

const host::CommandLine& commandLine();
// host::UsageError for anything it does not understand, or for an unknown check.
Options parseOptions(const std::vector<std::string>& arguments);

}  // namespace check
