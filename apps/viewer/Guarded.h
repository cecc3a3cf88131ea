// Runs a camera operation, turning a module exception into a notice so that
// the window stays usable.
#pragma once

#include "Notices.h"
#include "SettingsLock.h"
#include "Texts.h"

#include <Nimbrel_model/Camera.h>
#include <Qel/Qel.h>

#include <stdexcept>
#include <string>

namespace viewer {

inline Nimbrel_model::Camera& camera() { return *Nimbrel_model::Camera::getInstance(); }

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

// Whether the settings file may be written: false, with a notice naming the
// process that holds it, while this viewer has it read-only.
inline bool settingsWritable(Notices& notices, const std::string& action) {
    try {
        host::toolSettingsLock().requireWritable(action);
        return true;
    } catch (const std::runtime_error& e) {
        notices.error(wxString::FromUTF8(e.what()));
    }
    return false;
}

}  // namespace viewer
