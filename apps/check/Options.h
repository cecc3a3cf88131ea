// nimbrel-check's command line.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace check {

struct Options {
    bool help = false;
    bool list = false;
    std::string jsonFile;            // --json FILE
    std::vector<std::string> only;   // --only NAME (repeatable, or comma-separated)
    std::string appDir;              // --app-dir DIR: where res/config.xml is
    double deadline = 60.0;          // --deadline SECONDS: longest a check may take
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// UsageError for anything it does not understand, or for an unknown check.
Options parseOptions(const std::vector<std::string>& arguments);
std::string usageText();

}  // namespace check
