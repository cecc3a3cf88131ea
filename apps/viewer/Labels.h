// Remembers which window shows which text, so that a change of language can
// label everything again.
#pragma once

#include "Texts.h"

#include <wx/window.h>

#include <utility>
#include <vector>

namespace viewer {

class Labels {
public:
    template <typename W>
    W* add(W* window, Txt id) {
        entries_.emplace_back(window, id);
        window->SetLabel(tr(id));
        return window;
    }
    void relabel() const {
        for (const auto& [window, id] : entries_) window->SetLabel(tr(id));
    }

private:
    std::vector<std::pair<wxWindow*, Txt>> entries_;  // windows owned by their parents
};

}  // namespace viewer
