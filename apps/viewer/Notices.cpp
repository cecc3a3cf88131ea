#include "Notices.h"

#include <wx/textwrapper.h>

#include <algorithm>
#include <cstdio>

namespace viewer {
namespace {

// The native bar sizes itself for its text unwrapped and then clips what GTK
// wraps, so the lines are broken here, to the width the bar will have.
class LineBreaker : public wxTextWrapper {
public:
    wxString text;

private:
    void OnOutputLine(const wxString& line) override { text += line; }
    void OnNewLine() override { text += '\n'; }
};

}  // namespace

void Notices::error(const wxString& message) {
    ++errors_;
    std::fprintf(stderr, "nimbrel-viewer: %s\n", message.utf8_str().data());
    show(message, wxICON_ERROR);
}

void Notices::info(const wxString& message) {
    std::printf("nimbrel-viewer: %s\n", message.utf8_str().data());
    std::fflush(stdout);
    show(message, wxICON_INFORMATION);
}

void Notices::show(const wxString& message, int icon) {
    if (!bar_) return;
    // Room left beside the icon and the close button.
    const int width = std::max(column_->GetClientSize().GetWidth() - column_->FromDIP(150), column_->FromDIP(240));
    LineBreaker breaker;
    breaker.Wrap(bar_, message, width);
    bar_->ShowMessage(breaker.text, icon);
    if (wxWindow* parent = bar_->GetParent()) parent->Layout();
}

}  // namespace viewer
