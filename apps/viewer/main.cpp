// nimbrel-viewer: a window that shows and drives the camera through the module.
#include "ExitStatus.h"
#include "SimulatorReadings.h"
#include "StopSignal.h"
#include "ViewerApp.h"

#include <wx/debug.h>

#include <cstdio>
#include <iostream>

namespace {

// Debian's wxWidgets keeps its asserts; a GUI program would show them in a
// modal dialog, which hangs scripted and headless runs.
void printAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                 const wxString& message) {
    std::fprintf(stderr, "nimbrel-viewer: wxWidgets assertion failed: %s:%d in %s: %s %s\n", file.utf8_str().data(),
                 line, function.utf8_str().data(), condition.utf8_str().data(), message.utf8_str().data());
}

}  // namespace

int main(int argc, char** argv) {
    wxSetAssertHandler(printAssert);
    // The command line is read before GTK starts: help and usage errors need no display.
    viewer::Options options;
    try {
        options = viewer::parseOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << viewer::commandLine().usage();
            return host::exitStatus::kDone;
        }
        if (options.camera) host::chooseCamera(*options.camera);
    } catch (const host::UsageError& error) {
        std::cerr << viewer::commandLine().usageLine(error.what()) << std::endl;
        return host::exitStatus::kUsage;
    }
    const host::StopSignal stop;
    wxApp::SetInstance(new viewer::ViewerApp(std::move(options)));  // wx deletes it when it ends
    const int status = wxEntry(argc, argv);
    return host::StopSignal::raised() ? host::exitStatus::kInterrupted : status;
}
