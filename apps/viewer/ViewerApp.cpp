#include "ViewerApp.h"

#include "MainFrame.h"
#include "SimulatorChoice.h"
#include "Texts.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include <wx/cmdline.h>
#include <wx/image.h>
#include <wx/log.h>

#include <cstdio>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(viewer::ViewerApp);

namespace viewer {

void ViewerApp::OnInitCmdLine(wxCmdLineParser& parser) {
    wxApp::OnInitCmdLine(parser);
    describeOptions(parser);
}

bool ViewerApp::OnCmdLineParsed(wxCmdLineParser& parser) {
    if (!wxApp::OnCmdLineParsed(parser)) return false;
    wxString error;
    if (!readOptions(parser, options_, error)) {
        std::fprintf(stderr, "nimbrel-viewer: %s\n", error.utf8_str().data());
        return false;
    }
    return true;
}

bool ViewerApp::OnInit() {
    if (!wxApp::OnInit()) return false;
    // Log messages go to stderr: the GUI log target would open modal dialogs.
    // wx owns the active log target and deletes it at shutdown.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxInitAllImageHandlers();
    SetAppName("nimbrel-viewer");

    std::vector<wxString> notices;
    if (!options_.configDir.empty()) Qel::HelperFuncs::setAppDir(Qel::Strings::hstring(options_.configDir));
    auto* config = Nimbrel_model::Config::getInstance();
    bool configLoaded = false;
    try {
        config->load();
        configLoaded = true;
    } catch (const Qel::Exception& e) {
        notices.push_back(e.getMessage().wxstr());
    }
    setLanguage(languageFromName(config->getLanguage().wxstr()));
    if (!configLoaded) notices.back() = wxString::Format(tr(Txt::NoticeConfigError), notices.back());

    if (!options_.camera.empty() && !chooseCamera(options_.camera.ToStdString()))
        notices.push_back(wxString::Format(tr(Txt::NoticeUnknownCamera), options_.camera));

    bool cameraOpen = false;
    try {
        Nimbrel_model::Camera::getInstance()->init();
        cameraOpen = true;
    } catch (const Qel::Exception& e) {
        notices.push_back(wxString::Format(tr(Txt::NoticeNoCamera), e.getMessage().wxstr()));
    }

    auto* frame = new MainFrame(options_, listener_, cameraOpen, notices, exitCode_);  // wx owns top-level windows
    frame_ = frame;
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
