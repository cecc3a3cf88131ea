#include "ConsoleMain.h"

#include "ConsoleApp.h"
#include "ExitStatus.h"
#include "StopSignal.h"

#include <Qel/Qel.h>
#include <wx/string.h>

#include <exception>
#include <iostream>

namespace host {

namespace {

std::string programName;

// A console program must never stop on a dialog: asserts go to stderr.
void printAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    std::cerr << programName << ": wx assert " << cond.utf8_string() << " failed in " << func.utf8_string() << " at "
              << file.utf8_string() << ":" << line << (msg.empty() ? "" : ": " + msg.utf8_string()) << std::endl;
}

int fail(int status, std::string message) {
    std::cout.flush();
    for (char& c : message)
        if (c == '\n') c = ' ';
    std::cerr << programName << ": " << message << std::endl;
    return status;
}

}  // namespace

int runConsoleHost(const CommandLine& line, int argc, char** argv,
                   const std::function<std::optional<int>(const std::vector<std::string>&)>& prepare,
                   const std::function<int()>& run) {
    programName = line.program();
    wxSetAssertHandler(printAssert);
    try {
        if (const std::optional<int> done = prepare(std::vector<std::string>(argv + 1, argv + argc))) return *done;
    } catch (const UsageError& error) {
        std::cerr << line.usageLine(error.what()) << std::endl;
        return exitStatus::kUsage;
    }
    // From here a stop signal, a closed terminal included, ends the host
    // cleanly, and a closed pipe on the output does not end it at all.
    StopSignal stop;
    try {
        const ApplicationScope wx(argc, argv);
        return run();
    } catch (const UsageError& error) {  // a value the open camera does not take
        return fail(exitStatus::kUsage, error.what());
    } catch (const Interrupted& interrupted) {
        return fail(exitStatus::kInterrupted, interrupted.what());
    } catch (const Qel::Exception& error) {
        return fail(exitStatus::kFailed, "error: " + error.getMessage().str());
    } catch (const std::exception& error) {
        return fail(exitStatus::kFailed, std::string("error: ") + error.what());
    }
}

}  // namespace host
