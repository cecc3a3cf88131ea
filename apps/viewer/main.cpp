// nimbrel-viewer: a window that shows and drives the camera through the module.
#include "ViewerApp.h"

#include <wx/debug.h>

#include <cstdio>

namespace {

// Debian's wxWidgets keeps its asserts; a GUI program would show them in a
// modal dialog, which hangs scripted and headless runs.
void printAssert(const wxString& file, int line, const wxString& function, const wxString& condition,
                 const wxString& message) {
    std::fprintf(stderr, "nimbrel-viewer: wxWidgets assertion failed: %s:%d in %s: %s %s\n",
                 file.utf8_str().data(), line, function.utf8_str().data(), condition.utf8_str().data(),
                 message.utf8_str().data());
}

}  // namespace

int main(int argc, char** argv) {
    wxSetAssertHandler(printAssert);
    return wxEntry(argc, argv);
}
