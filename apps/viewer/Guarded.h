// Runs a camera operation, turning a module exception into a notice so that
// the window stays usable.
#pragma once

#include "Notices.h"
#include "Texts.h"

#include <Qel/Qel.h>

namespace viewer {

template <typename Operation>
bool guarded(Notices& notices, Operation&& operation) {
    try {
        operation();
        return true;
    } catch (const Qel::Exception& e) {
        notices.error(wxString::Format(tr(Txt::NoticeCameraError), e.getMessage().wxstr()));
    }
    return false;
}

}  // namespace viewer
