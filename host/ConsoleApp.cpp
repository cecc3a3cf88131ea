#include "ConsoleApp.h"

#include "EventPump.h"

#include <wx/init.h>

#include <stdexcept>

namespace host {

bool ConsoleApp::OnExceptionInMainLoop() {
    keepHandlerFailure(std::current_exception());
    return true;
}

namespace {

int defaultArgc = 1;
char defaultName[] = "nimbrel";
char* defaultArgv[] = {defaultName, nullptr};

}  // namespace

ApplicationScope::ApplicationScope() : ApplicationScope(defaultArgc, defaultArgv) {}

ApplicationScope::ApplicationScope(int argc, char** argv) {
    if (wxAppConsole::GetInstance()) return;
    wxAppConsole::SetInstance(new ConsoleApp);
    if (!wxEntryStart(argc, argv)) {
        wxAppConsole::SetInstance(nullptr);
        throw std::runtime_error("wxWidgets failed to initialise");
    }
    owned_ = true;
}

ApplicationScope::~ApplicationScope() {
    if (owned_) wxEntryCleanup();
}

wxAppConsole& application() { return *wxAppConsole::GetInstance(); }

}  // namespace host
