// Messages for the user: a non-modal bar above the picture, echoed on stderr
// or stdout so that scripted runs keep a trace.
#pragma once

#include <wx/infobar.h>

namespace viewer {

class Notices {
public:
    // `bar` and `column` (whose width the bar spans) are owned by their parents.
    Notices(wxInfoBar* bar, wxWindow* column) : bar_(bar), column_(column) {}

    void error(const wxString& message);
    // Errors shown so far: a scripted run's exit status tells of them.
    int errorCount() const { return errors_; }
    void info(const wxString& message);

private:
    void show(const wxString& message, int icon);
    wxInfoBar* bar_;
    wxWindow* column_;
    int errors_ = 0;
};

}  // namespace viewer
