#include "Options.h"

#include "Checks.h"
#include "SharedOptions.h"

#include <algorithm>
#include <sstream>

namespace check {

namespace {

using host::OptionSpec;

const OptionSpec kOnly = OptionSpec::text("only", "NAME[,NAME...]", "run only the named checks", true);
const OptionSpec kJson = OptionSpec::text("json", "FILE", "also write the results as JSON into FILE");
const OptionSpec kList = OptionSpec::flag("list", "print the checks and exit");
const OptionSpec kDeadline =
    OptionSpec::number("deadline", "SECONDS",
                       "a check still running after this long (default 60) fails and ends the run: it is stuck "
                       "inside the module",
                       {0.0, 86400.0, true});

bool knownCheck(const std::string& name) {
    const auto& checks = allChecks();
    return std::any_of(checks.begin(), checks.end(), [&](const Check& c) { return c.name == name; });
}

host::CommandLine makeCommandLine() {
    host::CommandLine line("nimbrel-check",
                           "Checks that the connected camera and this build of the module work together.\n",
                           R"(
The configuration file is never written: the checks work on a copy.
Exit status: 0 every check passed or was skipped, 1 a check failed or the
settings could not be read, 2 a bad command line, 130 stopped by a signal.
)");
    line.add(kOnly).add(kJson).add(host::options::appDir).add(host::options::camera).add(kDeadline).add(kList);
    return line;
}

}  // namespace

const host::CommandLine& commandLine() {
    static const host::CommandLine line = makeCommandLine();
    return line;
}

Options parseOptions(const std::vector<std::string>& arguments) {
    const host::ParsedOptions parsed = commandLine().parse(arguments);
    Options options;
    options.help = parsed.help;
    options.list = parsed.has(kList.name);
    options.jsonFile = parsed.text(kJson.name).value_or("");
    options.appDir = parsed.text(host::options::appDir.name);
    options.camera = parsed.text(host::options::camera.name);
    options.deadline = parsed.number(kDeadline.name).value_or(options.deadline);
    for (const std::string& names : parsed.all(kOnly.name)) {
        std::istringstream list(names);
        for (std::string name; std::getline(list, name, ',');) {
            if (!knownCheck(name)) throw host::UsageError("--only: no check named '" + name + "' (see --list)");
            options.only.push_back(name);
        }
    }
    return options;
}

}  // namespace check
