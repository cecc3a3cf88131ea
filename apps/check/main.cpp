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

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
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

bool writeJsonFile(const check::Summary& summary, const std::string& path) {
    std::ofstream json(path);
    check::writeJson(summary, json);
    json.close();
    return static_cast<bool>(json);
}

// On the watchdog's thread, with the main thread stuck inside the module: the
// report goes out in one write, and the process ends without running
// destructors or exit handlers, which would meet the module mid-call.
[[noreturn]] void endStuckRun(check::Summary summary, const check::Options& options, const check::Sandbox& sandbox) {
    summary.configUnchanged = sandbox.originalUnchanged();
    check::clearProgress();
    std::ostringstream table;
    check::printTable(summary, table);
    const std::string text = table.str();
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (!options.jsonFile.empty()) writeJsonFile(summary, options.jsonFile);
    std::error_code ignored;
    std::filesystem::remove_all(sandbox.folder(), ignored);
    std::_Exit(host::exitStatus::kFailed);
}

int run(const check::Options& options) {
    const host::SettingsFolder folder = host::useSettingsFolder(options.appDir);
    if (const std::string notice = host::seededNotice(folder); !notice.empty()) std::cout << notice << std::endl;
    check::Sandbox sandbox(folder.path);
    Nimbrel_model::Config::getInstance()->load();
    host::StopSignal::throwIfRaised();
    host::EventPump pump(host::StopSignal::throwIfRaised);
    check::Session session(pump, sandbox);
    const auto deadline = std::chrono::milliseconds(std::llround(options.deadline * 1000.0));
    check::Summary summary = check::runChecks(session, selected(options), deadline, [&](const check::Summary& sofar) {
        endStuckRun(sofar, options, sandbox);
    });
    summary.configUnchanged = sandbox.originalUnchanged();
    check::printTable(summary, std::cout);
    if (!options.jsonFile.empty() && !writeJsonFile(summary, options.jsonFile))
        throw std::runtime_error("cannot write " + options.jsonFile);
    if (summary.interrupted) return host::exitStatus::kInterrupted;
    return summary.allPassed() ? host::exitStatus::kDone : host::exitStatus::kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    check::Options options;
    return host::runConsoleHost(
        check::commandLine(), argc, argv,
        [&](const std::vector<std::string>& args) -> std::optional<int> {
            options = check::parseOptions(args);
            if (options.help) std::cout << check::commandLine().usage();
            if (options.list)
                for (const auto& c : check::allChecks()) std::cout << c.name << "  " << c.what << "\n";
            if (options.help || options.list) return host::exitStatus::kDone;
            if (options.camera) host::chooseCamera(*options.camera);
            return std::nullopt;
        },
        [&] { return run(options); });
}
