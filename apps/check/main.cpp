// nimbrel-check: tells an integrator, check by check, whether the connected
// camera and this build of the module work together. Works on a copy of the
// configuration and puts every camera setting it changed back.
#include "Checks.h"
#include "ConsoleMain.h"
#include "EventPump.h"
#include "ExitStatus.h"
#include "Options.h"
#include "Report.h"
#include "Runner.h"
#include "Sandbox.h"
#include "Session.h"
#include "SettingsFolder.h"
#include "SimulatorReadings.h"
#include "StopSignal.h"

#include <Nimbrel_model/Config.h>

#include <fstream>
#include <iostream>
#include <stdexcept>

namespace {

std::vector<const check::Check*> selected(const check::Options& options) {
    std::vector<const check::Check*> checks;
    for (const auto& c : check::allChecks())
        for (const auto& name : options.only.empty() ? std::vector<std::string>{c.name} : options.only)
            if (name == c.name) {
                checks.push_back(&c);
                break;
            }
    return checks;
}

int run(const check::Options& options) {
    const hosts::SettingsFolder folder = hosts::useSettingsFolder(options.appDir);
    if (const std::string notice = hosts::seededNotice(folder); !notice.empty()) std::cout << notice << std::endl;
    check::Sandbox sandbox(folder.path);
    Nimbrel_model::Config::getInstance()->load();
    hosts::StopSignal::throwIfRaised();
    hosts::EventPump pump(hosts::StopSignal::throwIfRaised);
    check::Session session(pump, sandbox);
    check::Summary summary = check::runChecks(session, selected(options));
    summary.configUnchanged = sandbox.originalUnchanged();
    check::printTable(summary, std::cout);
    if (!options.jsonFile.empty()) {
        std::ofstream json(options.jsonFile);
        check::writeJson(summary, json);
        json.close();
        if (!json) throw std::runtime_error("cannot write " + options.jsonFile);
    }
    if (summary.interrupted) return hosts::exitStatus::kInterrupted;
    return summary.allPassed() ? hosts::exitStatus::kDone : hosts::exitStatus::kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    check::Options options;
    return hosts::runConsoleHost(
        check::commandLine(), argc, argv,
        [&](const std::vector<std::string>& args) -> std::optional<int> {
            options = check::parseOptions(args);
            if (options.help) std::cout << check::commandLine().usage();
            if (options.list)
                for (const auto& c : check::allChecks()) std::cout << c.name << "  " << c.what << "\n";
            if (options.help || options.list) return hosts::exitStatus::kDone;
            if (options.camera) hosts::chooseCamera(*options.camera);
            return std::nullopt;
        },
        [&] { return run(options); });
}
