#include "MainFrame.h"

#include "AreaPanel.h"
#include "AutomaticsPanel.h"
#include "CameraOpener.h"
#include "ControlPanel.h"
#include "ExitStatus.h"
#include "Guarded.h"
#include "HistogramPanel.h"
#include "PicturePanel.h"
#include "PictureTools.h"
#include "PresetPanel.h"
#include "RecordingPanel.h"
#include "ScriptedRun.h"
#include "Snapshot.h"
#include "StopSignal.h"
#include "ViewerListener.h"

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>

#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include <algorithm>
#include <chrono>

namespace viewer {
namespace {

enum {
    kDisplayTimer = wxID_HIGHEST + 1,
    kQuitTimer,
    kScriptTimer,
    kCloseRetryTimer,
    kMenuEnglish,
    kMenuFrench,
    kMenuSnapshot,
};

constexpr double kMaxPictureRate = 60.0;  // the display's usual rate
constexpr int kPollsPerFrame = 4;         // a new frame is seen within a quarter of its period
constexpr int kSlowPollMs = 16;           // no camera, or no rate known
constexpr long kSlowUpdateMs = 1000;      // status figures and gains moved by the camera itself
constexpr long kHistogramMs = 250;        // a few histograms a second are enough to judge by
constexpr int kHistogramPixels = 40000;   // sampled pixels: a few hundred microseconds
constexpr long kScriptDelayMs = 500;      // let the window show its first pictures
constexpr long kOptimizeWaitMs = 6000;    // the optimisation's own time-out is 5 s
enum StatusField { kSensorField, kCameraRateField, kPictureRateField, kViewField, kSavedField, kFieldCount };

}  // namespace

MainFrame::MainFrame(const Options& options, ViewerListener& listener, const Startup& startup, int& exitCode)
    : wxFrame(nullptr, wxID_ANY, wxString()),
      options_(options),
      listener_(listener),
      exitCode_(exitCode),
      cameraOpen_(startup.cameraOpen),
      displayTimer_(this, kDisplayTimer),
      quitTimer_(this, kQuitTimer),
      scriptTimer_(this, kScriptTimer),
      closeRetryTimer_(this, kCloseRetryTimer) {
    auto* root = new wxPanel(this);
    // The notices sit above the picture so that the controls keep their room.
    auto* pictureColumn = new wxBoxSizer(wxVERTICAL);
    auto* bar = new wxInfoBar(root);
    pictureColumn->Add(bar, 0, wxEXPAND);
    tools_ = new PictureTools(
        root, [this] { onSnapshot(); }, [this](int zoom) { onZoom(zoom); });
    pictureColumn->Add(tools_, 0, wxEXPAND);
    picture_ = new PicturePanel(root);
    notices_ = std::make_unique<Notices>(bar, picture_);
    pictureColumn->Add(picture_, 1, wxEXPAND);
    picture_->onPointer([this] { updateView(); });

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(pictureColumn, 1, wxEXPAND);
    row->Add(buildSidebar(root), 0, wxEXPAND);
    root->SetSizer(row);

    buildMenus();
    CreateStatusBar(kFieldCount);
    const int widths[kFieldCount] = {-3, -2, -2, -4, -3};
    GetStatusBar()->SetStatusWidths(kFieldCount, widths);

    fitToDisplay();

    Bind(wxEVT_TIMER, &MainFrame::onDisplayTimer, this, kDisplayTimer);
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { Close(); }, kQuitTimer);
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { Close(); }, kCloseRetryTimer);
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { scripted_->start(); }, kScriptTimer);
    Bind(wxEVT_CLOSE_WINDOW, &MainFrame::onClose, this);

    scripted_ = std::make_unique<ScriptedRun>(
        options_, exitCode_,
        ScriptedRun::Window{*controls_, *area_, *automatics_, *presets_, *recording_, *picture_, *histogram_,
                            [this] { Close(); }, [this] { return statusLine(); }, [this] { return cameraOpen_; },
                            *this},
        startup.presetReset);
    listener_.onRecordEnd = [this] { recording_->recordEnded(); };
    recording_->whenEnded([this] { scripted_->recordEnded(); });
    listener_.onOptimizeEnd = [this] {
        automatics_->optimizationEnded();
        scripted_->optimizationEnded();
    };

    relabel();
    enableControls();
    if (cameraOpen_) cameraChanged();
    const bool started = scripted_->applyStartSettings();
    tools_->showZoom(picture_->zoom());
    showStartup(startup);

    displayTimer_.StartOnce(pollInterval());
    if (options_.quitAfter >= 0.0) quitTimer_.StartOnce(static_cast<int>(options_.quitAfter * 1000.0));
    if (started && scripted_->hasWork()) scriptTimer_.StartOnce(kScriptDelayMs);
}

void MainFrame::fitToDisplay() {
    // The window and every panel must stay reachable on a small screen: the
    // window fits the display's work area, and the sidebar scrolls.
    const wxRect area = wxDisplay(static_cast<unsigned>(std::max(wxDisplay::GetFromWindow(this), 0))).GetClientArea();
    const wxSize wanted = FromDIP(wxSize(1240, 970));
    SetMinSize(wxSize(std::min(FromDIP(800), area.width), std::min(FromDIP(600), area.height)));
    SetSize(wxSize(std::min(wanted.x, area.width), std::min(wanted.y, area.height)));
    Centre();
}

void MainFrame::showStartup(const Startup& startup) {
    // Once the window has its size. One bar shows one message: errors are
    // kept together, the configuration's path included.
    wxString errors;
    for (const wxString& notice : startup.errors) errors << (errors.empty() ? "" : "\n") << notice;
    if (!cameraOpen_ && !errors.empty()) picture_->clear(errors);
    CallAfter([this, errors, infos = startup.infos] {
        for (const wxString& info : infos) notices_->info(info);
        if (!errors.empty()) notices_->error(errors);
    });
}

MainFrame::~MainFrame() {
    listener_.onRecordEnd = nullptr;
    listener_.onOptimizeEnd = nullptr;
}

wxWindow* MainFrame::buildSidebar(wxWindow* parent) {
    auto* side = new wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL);
    side->SetScrollRate(0, 10);
    auto* stack = new wxBoxSizer(wxVERTICAL);
    histogram_ = new HistogramPanel(side, [this](bool on) { picture_->setClippingOverlay(on); });
    const auto changed = [this] { cameraChanged(); };
    controls_ = new ControlPanel(side, *notices_, changed);
    area_ = new AreaPanel(side, *notices_, changed);
    automatics_ = new AutomaticsPanel(side, *notices_, listener_, changed);
    PresetPanel::Hooks hooks;
    hooks.busy = [this] { return recording_->busy() || listener_.optimizing(); };
    hooks.reopened = [this] { cameraReopened(); };
    hooks.changed = changed;
    presets_ = new PresetPanel(side, *notices_, std::move(hooks));
    recording_ = new RecordingPanel(side, *notices_, listener_, !options_.scripted());
    for (wxWindow* panel :
         std::initializer_list<wxWindow*>{histogram_, controls_, area_, automatics_, presets_, recording_})
        stack->Add(panel, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
    side->SetSizer(stack);
    // Any height: the sidebar scrolls rather than push the window past the screen.
    side->SetMinSize(wxSize(stack->GetMinSize().GetWidth() + 20, FromDIP(100)));
    return side;
}

void MainFrame::buildMenus() {
    auto* menus = new wxMenuBar();
    fileMenu_ = new wxMenu();
    fileMenu_->Append(kMenuSnapshot, tr(Txt::MenuSnapshot));
    fileMenu_->Append(wxID_EXIT, tr(Txt::MenuQuit));
    languageMenu_ = new wxMenu();
    languageMenu_->AppendRadioItem(kMenuEnglish, tr(Txt::MenuEnglish));
    languageMenu_->AppendRadioItem(kMenuFrench, tr(Txt::MenuFrench));
    languageMenu_->Check(language() == Language::French ? kMenuFrench : kMenuEnglish, true);
    menus->Append(fileMenu_, tr(Txt::MenuFile));
    menus->Append(languageMenu_, tr(Txt::MenuLanguage));
    SetMenuBar(menus);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, wxID_EXIT);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { onSnapshot(); }, kMenuSnapshot);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { onLanguage(Language::English); }, kMenuEnglish);
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { onLanguage(Language::French); }, kMenuFrench);
}

void MainFrame::relabel() {
    GetMenuBar()->SetMenuLabel(0, tr(Txt::MenuFile));
    GetMenuBar()->SetMenuLabel(1, tr(Txt::MenuLanguage));
    fileMenu_->SetLabel(kMenuSnapshot, tr(Txt::MenuSnapshot));
    fileMenu_->SetLabel(wxID_EXIT, tr(Txt::MenuQuit));
    languageMenu_->SetLabel(kMenuEnglish, tr(Txt::MenuEnglish));
    languageMenu_->SetLabel(kMenuFrench, tr(Txt::MenuFrench));
    tools_->relabel();
    histogram_->relabel();
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
        side->SetMinSize(wxSize(side->GetSizer()->CalcMin().GetWidth() + 20, FromDIP(100)));
        side->FitInside();
    }
    if (wxWindow* root = picture_->GetParent()) root->Layout();
    updateView();
}

void MainFrame::showTitle() {
    SetTitle(cameraOpen_ ? wxString::Format(tr(Txt::TitleCamera), camera().getName().wxstr()) : tr(Txt::TitleNoCamera));
}

void MainFrame::enableControls() {
    tools_->enableFor(cameraOpen_);
    controls_->enableFor(cameraOpen_, cameraOpen_ && camera().isColor());
    area_->enableFor(cameraOpen_);
    automatics_->enableFor(cameraOpen_);
    // A preset can keep the camera from opening: its reset stays at hand.
    presets_->enableFor(cameraOpen_, cameraOpen_ || host::presetStored(camera()));
    recording_->enableFor(cameraOpen_);
}

void MainFrame::cameraChanged() {
    if (!cameraOpen_) return;
    streamFailed_ = false;
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
        SetStatusText(sensor + ", " + tr(camera().isColor() ? Txt::StatusColor : Txt::StatusMono), kSensorField);
        // What the camera delivers, from its own timestamps, once frames came.
        const double measured = meter_.rate() > 0.0 ? meter_.rate() : cameraRate_;
        SetStatusText(
            wxString::Format(tr(Txt::StatusCameraRate), number(measured, 1)) + ", " +
                wxString::Format(tr(Txt::StatusDropped),
                                 wxString::Format("%llu", static_cast<unsigned long long>(
                                                              Nimbrel_model::FrameStream::getInstance()->dropped()))),
            kCameraRateField);
        SetStatusText(wxString::Format(tr(Txt::StatusPictureRate), number(picture_->changesPerSecond(), 1)),
                      kPictureRateField);
    } else {
        for (int field : {kSensorField, kCameraRateField, kPictureRateField}) SetStatusText(wxString(), field);
        SetStatusText(tr(Txt::TitleNoCamera), kSensorField);
    }
    SetStatusText(tr(presets_->saved() ? Txt::StatusSaved : Txt::StatusUnsaved), kSavedField);
}

void MainFrame::updateView() {
    if (!GetStatusBar()) return;
    wxString view = wxString::Format(tr(Txt::StatusZoom), PictureTools::zoomName(picture_->zoom()));
    const PointerPixel& pointer = picture_->pointer();
    if (pointer.valid && cameraOpen_) {
        view << ", ";
        if (camera().isColor())
            view << wxString::Format(tr(Txt::StatusPointer), pointer.x, pointer.y, pointer.rgb[0], pointer.rgb[1],
                                     pointer.rgb[2]);
        else
            view << wxString::Format(tr(Txt::StatusPointerGrey), pointer.x, pointer.y, pointer.rgb[0]);
    }
    SetStatusText(view, kViewField);
}

wxString MainFrame::statusLine() const {
    wxString line;
    for (int field = 0; field < kFieldCount; ++field)
        line << (field ? " | " : "") << GetStatusBar()->GetStatusText(field);
    return line;
}

void MainFrame::onDisplayTimer(wxTimerEvent&) {
    if (closing_) return;
    if (host::StopSignal::raised()) {
        exitCode_ = host::exitStatus::kInterrupted;
        Close(true);  // stops a recording, closes the camera
        return;
    }
    const wxStopWatch cost;
    const long now = sinceStart_.Time();
    if (cameraOpen_) {
        const std::optional<Nimbrel_model::Frame> fresh = newestFrame();
        picture_->refresh(fresh ? &*fresh : nullptr);
        // The histogram is for judging exposure: a few a second, off the picture's path.
        if (const auto& shown = picture_->frame(); shown && now - lastHistogram_ >= kHistogramMs) {
            lastHistogram_ = now;
            histogram_->show(sampleHistogram(shown->data(), shown->stride(), {shown->width(), shown->height()},
                                             shown->isColor(), kHistogramPixels));
            updateView();
        }
    }
    if (!pictureAnnounced_ && picture_->hasPicture()) {
        pictureAnnounced_ = true;
        scripted_->announceAreas();
    }

    if (now - lastSlowUpdate_ >= kSlowUpdateMs) {
        lastSlowUpdate_ = now;
        if (cameraOpen_) {
            try {
                cameraRate_ = camera().getFrameRate();
                if (controls_->autoGainOn() || automatics_->whiteBalanceRunning()) controls_->readBackGains(true);
            } catch (const Qel::Exception&) {
                cameraRate_ = 0.0;  // a failing camera would repeat this every second
            }
            scripted_->noteCameraRate(static_cast<double>(now) / 1000.0, cameraRate_);
        }
        updateStatus();
    }
    updateSavedMark();
    recording_->tick();

    // A slow picture (a large monochrome sensor) must leave the loop at least
    // half of its time for input.
    displayTimer_.StartOnce(std::max(pollInterval(), static_cast<int>(cost.Time())));
}

std::optional<Nimbrel_model::Frame> MainFrame::newestFrame() {
    Nimbrel_model::FrameStream& stream = *Nimbrel_model::FrameStream::getInstance();
    std::optional<Nimbrel_model::Frame> newest;
    if (streamFailed_) return newest;
    try {
        // Opening the camera again (a preset reset) stops the stream.
        if (!stream.isRunning()) stream.start();
        while (std::optional<Nimbrel_model::Frame> frame = stream.next(std::chrono::milliseconds(0))) {
            meter_.add(frame->sequence(), frame->deviceTime());
            newest = std::move(frame);
        }
    } catch (const Qel::Exception& error) {
        streamFailed_ = true;
        notices_->error(wxString::Format(tr(Txt::NoticeStreamFailed), error.getMessage().wxstr()));
    }
    return newest;
}

int MainFrame::pollInterval() const {
    if (!cameraOpen_ || cameraRate_ <= 0.0) return kSlowPollMs;
    const double period = 1000.0 / std::min(cameraRate_, kMaxPictureRate);
    return std::clamp(static_cast<int>(period / kPollsPerFrame), 2, kSlowPollMs);
}

void MainFrame::onSnapshot() {
    if (!cameraOpen_) return;
    wxString file = defaultSnapshotName();
    if (!options_.scripted()) {
        wxFileDialog dialog(this, tr(Txt::SnapshotTitle), wxString(), file,
                            "PNG (*.png)|*.png|JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg", wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
        if (dialog.ShowModal() != wxID_OK) return;
        file = dialog.GetPath();
        if (snapshotTypeFor(file) == wxBITMAP_TYPE_INVALID) file << (dialog.GetFilterIndex() == 1 ? ".jpg" : ".png");
    }
    file = wxFileName(file).GetAbsolutePath();
    if (saveSnapshot(file, area_->area()))
        notices_->info(wxString::Format(tr(Txt::NoticeSnapshotSaved), file));
    else
        notices_->error(wxString::Format(tr(Txt::NoticeSnapshotFailed), snapshotFailure(file)));
}

void MainFrame::onZoom(int zoom) {
    picture_->setZoom(zoom);
    updateView();
}

void MainFrame::onLanguage(Language chosen) {
    setLanguage(chosen);
    // Read-only: the language holds for this run only.
    if (!host::toolSettingsLock().readOnly())
        guarded(*notices_, [chosen] { Nimbrel_model::Config::getInstance()->setLanguage(languageName(chosen)); });
    relabel();
    notices_->info(tr(Txt::NoticeLanguage));
}

std::string MainFrame::stopRecordingWithoutDisplay() { return recording_->stopWithoutDisplay(); }

void MainFrame::moduleFault(const wxString& message) {
    if (recording_->busy())
        recording_->faultWhileRunning(message);
    else
        notices_->error(wxString::Format(tr(Txt::NoticeCameraError), message));
}

void MainFrame::onClose(wxCloseEvent& event) {
    // The worker thread drives the camera until it reports: wait a little for it.
    if (listener_.optimizing() && event.CanVeto()) {
        if (closeWaitSince_ < 0) closeWaitSince_ = sinceStart_.Time();
        if (sinceStart_.Time() - closeWaitSince_ < kOptimizeWaitMs) {
            event.Veto();
            closeRetryTimer_.StartOnce(100);
            return;
        }
    }
    closing_ = true;
    for (wxTimer* timer : {&displayTimer_, &quitTimer_, &scriptTimer_, &closeRetryTimer_}) timer->Stop();

    scripted_->closing();
    recording_->stopForClosing();
    if (options_.reportsFailures() && notices_->errorCount() > 0 && exitCode_ == host::exitStatus::kDone)
        exitCode_ = host::exitStatus::kFailed;
    if (cameraOpen_) {
        guarded(*notices_, [this] {
            camera().removeListener(&listener_);
            camera().exit();
        });
    }
    Destroy();
}

}  // namespace viewer
