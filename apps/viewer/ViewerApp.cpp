#include "ViewerApp.h"

#include "CameraOpener.h"
#include "DisplayLoss.h"
#include "MainFrame.h"
#include "SettingsFolder.h"
#include "SettingsLock.h"
#include "StopSignal.h"
#include "Texts.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include <wx/image.h>
#include <wx/log.h>

#include <cstdio>

namespace viewer {

namespace {

// Loads res/config.xml from the settings folder; what went wrong goes to `notices`.
void loadSettings(const Options& options, Startup& notices) {
    try {
        const host::SettingsFolder folder = host::useSettingsFolder(options.appDir);
        if (const std::string seeded = host::seededNotice(folder); !seeded.empty())
            notices.infos.push_back(wxString::FromUTF8(seeded));
        // Held for the whole run: the viewer may save at any time.
        host::toolSettingsLock() = host::SettingsLock(folder.path + "res/config.xml", host::programName());
        if (const std::string notice = host::toolSettingsLock().readOnlyNotice(); !notice.empty())
            notices.infos.push_back(wxString::FromUTF8(notice));
        Nimbrel_model::Config::getInstance()->load();
        return;
    } catch (const Qel::Exception& e) {
        notices.errors.push_back(e.getMessage().wxstr());
    } catch (const std::exception& e) {
        notices.errors.push_back(wxString::FromUTF8(e.what()));
    }
}

// Opens the camera (closing it again when that fails); with --reset-preset a
// preset that keeps it from opening is reset.
void openCamera(const Options& options, Startup& notices) {
    auto& camera = *Nimbrel_model::Camera::getInstance();
    try {
        if (options.resetPreset && !host::toolSettingsLock().readOnly())
            notices.presetReset = host::openResettingPreset(camera);
        else
            host::openCamera(camera);
        notices.cameraOpen = true;
        if (notices.presetReset) notices.infos.push_back(tr(Txt::NoticePresetResetAtOpen));
    } catch (const Qel::Exception& e) {
        wxString text = wxString::Format(tr(Txt::NoticeNoCamera), e.getMessage().wxstr());
        if (host::presetStored(camera))
            text << "\n" << wxString::Format(tr(Txt::NoticePresetHint), camera.getName().wxstr());
        notices.errors.push_back(text);
    }
}

}  // namespace

bool ViewerApp::OnInit() {
    // Not wxApp::OnInit: it would parse the command line, which main has read.
    // Log messages go to stderr: the GUI log target would open modal dialogs.
    // wx owns the active log target and deletes it at shutdown.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    SetAppName("nimbrel-viewer");

    Startup notices;
    loadSettings(options_, notices);
    const bool configLoaded = notices.errors.empty();
    setLanguage(languageFromName(Nimbrel_model::Config::getInstance()->getLanguage().wxstr()));
    if (!configLoaded) notices.errors.back() = wxString::Format(tr(Txt::NoticeConfigError), notices.errors.back());
    if (host::StopSignal::raised()) return false;  // main ends with the interrupted status

    openCamera(options_, notices);
    auto* frame = new MainFrame(options_, listener_, notices, exitCode_);  // wx owns top-level windows
    frame_ = frame;
    whenDisplayLost([this]() -> std::string { return frame_ ? frame_->stopRecordingWithoutDisplay() : ""; });
    frame->Show();
    return true;
}

int ViewerApp::OnRun() {
    const int loopResult = wxApp::OnRun();
    return loopResult != 0 ? loopResult : exitCode_;
}

bool ViewerApp::OnExceptionInMainLoop() {
    try {
        throw;
    } catch (const Qel::Exception& e) {
        if (frame_)
            frame_->moduleFault(e.getMessage().wxstr());
        else
            std::fprintf(stderr, "nimbrel-viewer: %s\n", e.getMessage().c_str());
        return true;
    }
}

}  // namespace viewer
