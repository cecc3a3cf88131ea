// Test main: wx initialised once for the whole program, and every wx assert
// turned into a test failure instead of a message on the terminal.
#include "ConsoleApp.h"

#include <gtest/gtest.h>
#include <wx/log.h>

#include "SimulatorDefaults.h"

namespace {

void failOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
    ADD_FAILURE() << "wx assert " << cond.utf8_string() << " (" << msg.utf8_string() << ") in " << func.utf8_string()
                  << " at " << file.utf8_string() << ":" << line;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    testsupport::clearSimulatorOverrides();
    wxSetAssertHandler(failOnAssert);
    wxLog::EnableLogging(false);
    const host::ApplicationScope wx(argc, argv);
    return RUN_ALL_TESTS();
}
