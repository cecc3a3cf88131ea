// nimbrel-demo: a console host of the camera module. Sets up wx, runs the
// demo and turns every failure into one line and an exit status.
#include "ConsoleApp.h"
#include "DemoRun.h"
#include "Options.h"
#include "Interrupted.h"
#include "Usage.h"

#include <Qel/Qel.h>
#include <wx/init.h>

#include <algorithm>
#include <exception>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

// A console program must never stop on a dialog: asserts go to stderr.
void printAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    std::cerr << "nimbrel-demo: wx assert " << cond.utf8_string() << " failed in " << func.utf8_string() << " at "
              << file.utf8_string() << ":" << line << (msg.empty() ? "" : ": " + msg.utf8_string()) << std::endl;
}

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

int fail(const std::string& message) {
    std::cout.flush();
    std::cerr << "nimbrel-demo: error: " << oneLine(message) << std::endl;
    return exitFailure;
}

int usageFailure(const std::string& message) {
    std::cerr << "nimbrel-demo: " << oneLine(message) << "\n" << demo::usageHint() << std::endl;
    return exitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    wxSetAssertHandler(printAssert);

    demo::DemoOptions options;
    try {
        options = demo::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const demo::UsageError& error) {
        return usageFailure(error.what());
    }
    if (options.help) {
        std::cout << demo::usageText();
        return 0;
    }

    wxInitializer wx(argc, argv);
    if (!wx.IsOk()) return fail("wxWidgets failed to initialise");

    try {
        demo::DemoRun(options, std::cout, isatty(STDOUT_FILENO) != 0).execute();
        return 0;
    } catch (const demo::UsageError& error) {
        return usageFailure(error.what());
    } catch (const demo::Interrupted& interrupted) {
        std::cout.flush();
        std::cerr << "nimbrel-demo: " << interrupted.what() << std::endl;
        return 128 + interrupted.signalNumber();  // the shell's convention
    } catch (const Qel::Exception& error) {
        return fail(error.getMessage().str());
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}
