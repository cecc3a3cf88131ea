#include "Options.h"

#include "Checks.h"

#include <algorithm>
#include <sstream>

namespace check {

namespace {

bool knownCheck(const std::string& name) {
    const auto& checks = allChecks();
    return std::any_of(checks.begin(), checks.end(), [&](const Check& c) { return c.name == name; });
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--list") {
            options.list = true;
        } else if (argument == "--json") {
            options.jsonFile = value();
        } else if (argument == "--app-dir") {
            options.appDir = value();
        } else if (argument == "--deadline") {
            const std::string& text = value();
            std::size_t used = 0;
            try {
                options.deadline = std::stod(text, &used);
            } catch (const std::exception&) {
            }
            if (used != text.size() || !(options.deadline > 0.0))
                throw UsageError("--deadline needs a number of seconds above 0, not '" + text + "'");
        } else if (argument == "--only") {
            std::istringstream names(value());
            for (std::string name; std::getline(names, name, ',');) {
                if (!knownCheck(name)) throw UsageError("no check named '" + name + "' (see --list)");
                options.only.push_back(name);
            }
        } else {
            throw UsageError("unknown argument '" + argument + "'");
        }
    }
    return options;
}

std::string usageText() {
    return "usage: nimbrel-check [--only NAME[,NAME...]] [--json FILE] [--app-dir DIR] [--deadline SECONDS] [--list]\n"
           "                     [--help]\n"
           "Checks that the connected camera and this build of the module work together.\n"
           "  --only NAME   run only the named checks (repeatable)\n"
           "  --json FILE   also write the results as JSON into FILE\n"
           "  --app-dir DIR read DIR/res/config.xml instead of the one beside nimbrel-check\n"
           "  --deadline SECONDS  a check still running after this long (default 60) fails and ends the\n"
           "                run: it is stuck inside the module\n"
           "  --list        print the checks and exit\n"
           "The configuration file is never written: the checks work on a copy.\n"
           "Exit status: 0 every check passed or was skipped, 1 a check failed, 2 usage error.\n";
}

}  // namespace check
