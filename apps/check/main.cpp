// nimbrel-check: tells an integrator, check by check, whether the connected
// camera and this build of the module work together. Works on a copy of the
// configuration and puts every camera setting it changed back.
#include "ConsoleApp.h"
#include "Checks.h"
#include "Options.h"
#include "Pump.h"
#include "Report.h"
#include "Runner.h"
#include "Sandbox.h"
#include "Session.h"
#include "Interrupted.h"

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>
#include <wx/init.h>

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// A console program never stops on a dialog: asserts go to stderr.
void printAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    std::cerr << "nimbrel-check: wx assert " << cond.utf8_string() << " failed in " << func.utf8_string() << " at "
              << file.utf8_string() << ":" << line << (msg.empty() ? "" : ": " + msg.utf8_string()) << std::endl;
}

int fail(const std::string& message) {
    std::cout.flush();
    std::cerr << "nimbrel-check: error: " << message << std::endl;
    return kFailed;
}

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
    std::_Exit(kFailed);
}

int run(const check::Options& options) {
    check::StopSignal stop;
    check::Sandbox sandbox(options.appDir);
    Nimbrel_model::Config::getInstance()->load();
    check::Pump pump;
    check::Session session(pump, sandbox);
    const auto deadline = std::chrono::milliseconds(std::llround(options.deadline * 1000.0));
    check::Summary summary = check::runChecks(session, selected(options), deadline, [&](const check::Summary& sofar) {
        endStuckRun(sofar, options, sandbox);
    });
    summary.configUnchanged = sandbox.originalUnchanged();
    check::printTable(summary, std::cout);
    if (!options.jsonFile.empty() && !writeJsonFile(summary, options.jsonFile))
        return fail("cannot write " + options.jsonFile);
    if (summary.interrupted) return 128 + check::StopSignal::number();
    return summary.allPassed() ? 0 : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
    wxSetAssertHandler(printAssert);
    check::Options options;
    try {
        options = check::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const check::UsageError& error) {
        std::cerr << "nimbrel-check: " << error.what() << "\n" << check::usageText();
        return kUsage;
    }
    if (options.help) {
        std::cout << check::usageText();
        return 0;
    }
    if (options.list) {
        for (const auto& c : check::allChecks()) std::cout << c.name << "  " << c.what << "\n";
        return 0;
    }
    wxInitializer wx(argc, argv);
    if (!wx.IsOk()) return fail("wxWidgets failed to initialise");
    try {
        return run(options);
    } catch (const Qel::Exception& error) {
        return fail(error.getMessage().str());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}
