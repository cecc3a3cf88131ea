#include "MainFrame.h"

#include "AreaPanel.h"
#include "AutomaticsPanel.h"
#include "ControlPanel.h"
#include "Guarded.h"
#include "PicturePanel.h"
#include "PresetPanel.h"
#include "RecordingPanel.h"
#include "SelfTest.h"
#include "ViewerListener.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include <wx/menu.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <cstdio>

namespace viewer {
namespace {

Nimbrel_model::Camera& camera() { return *Nimbrel_model::Camera::getInstance(); }

enum {
    kDisplayTimer = wxID_HIGHEST + 1,
    kQuitTimer,
    kScriptTimer,
    kCloseRetryTimer,
    kMenuEnglish,
    kMenuFrench,
};

constexpr long kFrameMs = 33;          // about 30 pictures a second
constexpr long kSlowUpdateMs = 1000;   // status figures and gains moved by the camera itself
constexpr long kScriptDelayMs = 500;   // let the window show its first pictures
constexpr long kOptimiseWaitMs = 6000; // the optimisation's own time-out is 5 s
enum StatusField { kSensorField, kCameraRateField, kPictureRateField, kSavedField, kFieldCount };

}  // namespace

MainFrame::MainFrame(const Options& options, ViewerListener& listener, bool cameraOpen,
                     const std::vector<wxString>& startupNotices, int& exitCode)
    : wxFrame(nullptr, wxID_ANY, wxString()),
      options_(options),
      listener_(listener),
      exitCode_(exitCode),
      cameraOpen_(cameraOpen),
      displayTimer_(this, kDisplayTimer),
      quitTimer_(this, kQuitTimer),
      scriptTimer_(this, kScriptTimer),
      closeRetryTimer_(this, kCloseRetryTimer) {
    auto* root = new wxPanel(this);
    // The notices sit above the picture so that the controls keep their room.
    auto* pictureColumn = new wxBoxSizer(wxVERTICAL);
    auto* bar = new wxInfoBar(root);
    pictureColumn->Add(bar, 0, wxEXPAND);
    picture_ = new PicturePanel(root);
    notices_ = std::make_unique<Notices>(bar, picture_);
    pictureColumn->Add(picture_, 1, wxEXPAND);

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(pictureColumn, 1, wxEXPAND);
    row->Add(buildSidebar(root), 0, wxEXPAND);
    root->SetSizer(row);

    buildMenus();
    CreateStatusBar(kFieldCount);
    const int widths[kFieldCount] = {-3, -2, -2, -3};
    GetStatusBar()->SetStatusWidths(kFieldCount, widths);

    SetSize(FromDIP(wxSize(1240, 970)));
    SetMinSize(FromDIP(wxSize(800, 600)));
    Centre();

    Bind(wxEVT_TIMER, &MainFrame::onDisplayTimer, this, kDisplayTimer);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Close(); }, kQuitTimer);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Close(); }, kCloseRetryTimer);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { runScripted(); }, kScriptTimer);
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::onClose, this);

    listener_.onRecordEnd = [this] {
        recording_->recordEnded();
        if (!options_.record.empty()) Close();
    };
    listener_.onOptimizeEnd = [this] { optimisationEnded(); };

    relabel();
    enableControls();
    if (cameraOpen_) cameraChanged();
    if (!startupNotices.empty()) {
        // One bar shows one message: keep them all, the configuration's path included.
        wxString all;
        for (const wxString& notice : startupNotices) all << (all.empty() ? "" : "\n") << notice;
        if (!cameraOpen_) picture_->clear(all);
        CallAfter([this, all] { notices_->error(all); });  // once the window has its size
    }

    displayTimer_.StartOnce(kFrameMs);
    if (options_.quitAfter >= 0.0) quitTimer_.StartOnce(static_cast<int>(options_.quitAfter * 1000.0));
    if (options_.selfTestControl || !options_.record.empty()) scriptTimer_.StartOnce(kScriptDelayMs);
}

MainFrame::~MainFrame() {
    listener_.onRecordEnd = nullptr;
    listener_.onOptimizeEnd = nullptr;
}

wxWindow* MainFrame::buildSidebar(wxWindow* parent) {
    auto* side = new wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL);
    side->SetScrollRate(0, 10);
    auto* stack = new wxBoxSizer(wxVERTICAL);
    const auto changed = [this] { cameraChanged(); };
    controls_ = new ControlPanel(side, *notices_, changed);
    area_ = new AreaPanel(side, *notices_, changed);
    automatics_ = new AutomaticsPanel(side, *notices_, listener_, changed);
    PresetPanel::Hooks hooks;
    hooks.busy = [this] { return recording_->busy() || listener_.optimising(); };
    hooks.reopened = [this] { cameraReopened(); };
    hooks.changed = changed;
    presets_ = new PresetPanel(side, *notices_, std::move(hooks));
    recording_ = new RecordingPanel(side, *notices_, listener_, !options_.scripted());
    for (wxWindow* panel : std::initializer_list<wxWindow*>{controls_, area_, automatics_, presets_, recording_})
        stack->Add(panel, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
    side->SetSizer(stack);
    side->SetMinSize(wxSize(stack->GetMinSize().GetWidth() + 20, -1));
    return side;
}

void MainFrame::buildMenus() {
    auto* menus = new wxMenuBar();
    fileMenu_ = new wxMenu();
    fileMenu_->Append(wxID_EXIT, tr(Txt::MenuQuit));
    languageMenu_ = new wxMenu();
    languageMenu_->AppendRadioItem(kMenuEnglish, tr(Txt::MenuEnglish));
    languageMenu_->AppendRadioItem(kMenuFrench, tr(Txt::MenuFrench));
    languageMenu_->Check(language() == Language::French ? kMenuFrench : kMenuEnglish, true);
    menus->Append(fileMenu_, tr(Txt::MenuFile));
    menus->Append(languageMenu_, tr(Txt::MenuLanguage));
    SetMenuBar(menus);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { onLanguage(Language::English); }, kMenuEnglish);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { onLanguage(Language::French); }, kMenuFrench);
}

void MainFrame::relabel() {
    GetMenuBar()->SetMenuLabel(0, tr(Txt::MenuFile));
    GetMenuBar()->SetMenuLabel(1, tr(Txt::MenuLanguage));
    fileMenu_->SetLabel(wxID_EXIT, tr(Txt::MenuQuit));
    languageMenu_->SetLabel(kMenuEnglish, tr(Txt::MenuEnglish));
    languageMenu_->SetLabel(kMenuFrench, tr(Txt::MenuFrench));
    controls_->relabel();
    area_->relabel();
    automatics_->relabel();
    presets_->relabel();
    recording_->relabel();
    showTitle();
    updateStatus();
    // Texts of another length: the sidebar takes the width its controls now need.
    if (wxWindow* side = recording_->GetParent()) {
        for (wxWindow* panel : side->GetChildren()) panel->InvalidateBestSize();
        side->SetMinSize(wxSize(side->GetSizer()->CalcMin().GetWidth() + 20, -1));
        side->FitInside();
    }
    if (wxWindow* root = picture_->GetParent()) root->Layout();
}

void MainFrame::showTitle() {
    SetTitle(cameraOpen_ ? wxString::Format(tr(Txt::TitleCamera), camera().getName().wxstr())
                         : tr(Txt::TitleNoCamera));
}

void MainFrame::enableControls() {
    controls_->enableFor(cameraOpen_, cameraOpen_ && camera().isColor());
    area_->enableFor(cameraOpen_);
    automatics_->enableFor(cameraOpen_);
    presets_->enableFor(cameraOpen_);
    recording_->enableFor(cameraOpen_);
}

void MainFrame::cameraChanged() {
    if (!cameraOpen_) return;
    controls_->readBack();
    area_->readBack();
    try {
        cameraRate_ = camera().getFrameRate();
    } catch (const Qel::Exception&) {
        cameraRate_ = 0.0;  // already reported by the control that failed
    }
    updateSavedMark();
    updateStatus();
}

void MainFrame::cameraReopened() {
    cameraOpen_ = camera().getCamHandle() != nullptr;
    automatics_->cameraReopened();
    if (!cameraOpen_) picture_->clear(tr(Txt::TitleNoCamera));
    enableControls();
    showTitle();
    cameraChanged();
    updateSavedMark();
}

void MainFrame::updateSavedMark() {
    if (presets_->updateMark()) updateStatus();
}

void MainFrame::updateStatus() {
    if (!GetStatusBar()) return;
    if (cameraOpen_) {
        const wxString sensor = wxString::Format(tr(Txt::StatusSensor), camera().getName().wxstr(),
                                                 camera().getMaxWidth(), camera().getMaxHeight());
        SetStatusText(sensor + ", " + tr(camera().isColor() ? Txt::StatusColour : Txt::StatusMono), kSensorField);
        SetStatusText(wxString::Format(tr(Txt::StatusCameraRate), number(cameraRate_, 1)), kCameraRateField);
        SetStatusText(wxString::Format(tr(Txt::StatusPictureRate), number(picture_->changesPerSecond(), 1)),
                      kPictureRateField);
    } else {
        for (int field : {kSensorField, kCameraRateField, kPictureRateField}) SetStatusText(wxString(), field);
        SetStatusText(tr(Txt::TitleNoCamera), kSensorField);
    }
    SetStatusText(tr(presets_->saved() ? Txt::StatusSaved : Txt::StatusUnsaved), kSavedField);
}

void MainFrame::onDisplayTimer(wxTimerEvent&) {
    if (closing_) return;
    const wxStopWatch cost;
    if (cameraOpen_) picture_->refresh(area_->area());
    if (!pictureAnnounced_ && picture_->hasPicture()) announcePictureArea();

    const long now = sinceStart_.Time();
    if (now - lastSlowUpdate_ >= kSlowUpdateMs) {
        lastSlowUpdate_ = now;
        if (cameraOpen_) {
            try {
                cameraRate_ = camera().getFrameRate();
                if (controls_->autoGainOn() || automatics_->whiteBalanceRunning()) controls_->readBackGains(true);
            } catch (const Qel::Exception&) {
                cameraRate_ = 0.0;  // a failing camera would repeat this every second
            }
        }
        updateStatus();
    }
    updateSavedMark();
    recording_->tick();

    // A slow picture (a large monochrome sensor) must not take the whole loop.
    const long spent = cost.Time();
    displayTimer_.StartOnce(static_cast<int>(std::max({kFrameMs - spent, 2 * spent, 1L})));
}

void MainFrame::announcePictureArea() {
    pictureAnnounced_ = true;
    const wxRect area = picture_->pictureRect();
    const wxPoint onScreen = picture_->ClientToScreen(area.GetTopLeft());
    std::printf("nimbrel-viewer: picture area on screen %d %d %d %d\n", onScreen.x, onScreen.y, area.GetWidth(),
                area.GetHeight());
    std::fflush(stdout);
}

void MainFrame::onLanguage(Language chosen) {
    setLanguage(chosen);
    guarded(*notices_, [chosen] { Nimbrel_model::Config::getInstance()->setLanguage(languageName(chosen)); });
    relabel();
    notices_->info(tr(Txt::NoticeLanguage));
}

void MainFrame::runScripted() {
    if (options_.selfTestControl) {
        if (!cameraOpen_) {
            std::printf("selftest: no camera\n");
            finishSelfTest(false);
            return;
        }
        selfTestPassed_ = runControlSelfTest(*controls_, *area_, stdout);
        // The optimisation ends on a worker thread; its end is checked when it reaches this thread.
        automatics_->simulateOptimise();
        const bool waits = !automatics_->optimiseEnabled();
        std::printf("selftest optimise: button disabled while it runs: %s\n", waits ? "ok" : "FAILED");
        selfTestPassed_ = selfTestPassed_ && waits;
        selfTestWaiting_ = waits;
        if (!waits) finishSelfTest(false);
        return;
    }
    if (!options_.record.empty()) {
        recording_->startScripted(options_.record, options_.recordSeconds, options_.recordFps);
        if (!recording_->busy()) {
            exitCode_ = 1;
            Close();
        }
    }
}

void MainFrame::optimisationEnded() {
    automatics_->optimisationEnded();
    if (!selfTestWaiting_) return;
    selfTestWaiting_ = false;
    const bool enabled = automatics_->optimiseEnabled();
    std::printf("selftest optimise: ended, frame rate %g, button enabled again: %s\n", camera().getFrameRate(),
                enabled ? "ok" : "FAILED");
    finishSelfTest(selfTestPassed_ && enabled);
}

void MainFrame::finishSelfTest(bool passed) {
    selfTestDone_ = true;
    std::printf("selftest: %s\n", passed ? "passed" : "failed");
    std::fflush(stdout);
    exitCode_ = passed ? 0 : 1;
    Close();
}

void MainFrame::moduleFault(const wxString& message) {
    if (recording_->busy())
        recording_->faultWhileRunning(message);
    else
        notices_->error(wxString::Format(tr(Txt::NoticeCameraError), message));
}

void MainFrame::onClose(wxCloseEvent& event) {
    // The worker thread drives the camera until it reports: wait a little for it.
    if (listener_.optimising() && event.CanVeto()) {
        if (closeWaitSince_ < 0) closeWaitSince_ = sinceStart_.Time();
        if (sinceStart_.Time() - closeWaitSince_ < kOptimiseWaitMs) {
            event.Veto();
            closeRetryTimer_.StartOnce(100);
            return;
        }
    }
    closing_ = true;
    for (wxTimer* timer : {&displayTimer_, &quitTimer_, &scriptTimer_, &closeRetryTimer_}) timer->Stop();

    if (!options_.record.empty() && recording_->busy()) exitCode_ = 1;  // the camera did not end it
    if (options_.selfTestControl && !selfTestDone_) exitCode_ = 1;
    recording_->stopForClosing();
    if (!options_.screenshot.empty()) {
        if (picture_->saveTo(options_.screenshot))
            std::printf("nimbrel-viewer: picture saved to %s\n", options_.screenshot.utf8_str().data());
        else
            std::fprintf(stderr, "nimbrel-viewer: could not write %s\n", options_.screenshot.utf8_str().data());
    }
    if (cameraOpen_) {
        guarded(*notices_, [this] {
            camera().removeListener(&listener_);
            camera().exit();
        });
    }
    Destroy();
}

}  // namespace viewer
