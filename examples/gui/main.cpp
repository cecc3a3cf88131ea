// A minimal GUI host: the live picture in a window, a button that records it
// into "example.avi" and one that optimises the pixel clock.
// Usage: example-gui [--quit-after SECONDS]
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>
#include <wx/dcbuffer.h>
#include <wx/wx.h>

#include <cstdio>
#include <memory>

using Nimbrel_model::Camera;
using Nimbrel_model::Config;

namespace {

const int kRefreshTimer = 1;
const int kQuitTimer = 2;

void report(const Qel::Exception& e) { std::fprintf(stderr, "example-gui: %s\n", e.what()); }

class MainFrame : public wxFrame, public Nimbrel_model::CameraListener {
public:
    explicit MainFrame(long quitAfterSeconds)
        : wxFrame(nullptr, wxID_ANY, "Nimbrel example"), refresh_(this, kRefreshTimer), quit_(this, kQuitTimer) {
        picture_ = new wxPanel(this);
        picture_->SetMinSize(wxSize(640, 512));
        picture_->SetBackgroundStyle(wxBG_STYLE_PAINT);
        picture_->Bind(wxEVT_PAINT, &MainFrame::onPaint, this);
        record_ = new wxButton(this, wxID_ANY, "Record");
        record_->Bind(wxEVT_BUTTON, &MainFrame::onRecord, this);
        optimize_ = new wxButton(this, wxID_ANY, "Optimise");
        optimize_->Bind(wxEVT_BUTTON, &MainFrame::onOptimize, this);
        auto* buttons = new wxBoxSizer(wxHORIZONTAL);
        buttons->Add(record_, 0, wxALL, 5);
        buttons->Add(optimize_, 0, wxALL, 5);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(picture_, 1, wxEXPAND);
        sizer->Add(buttons);
        SetSizerAndFit(sizer);
        Bind(
            wxEVT_TIMER, [this](wxTimerEvent&) { showPicture(); }, kRefreshTimer);
        Bind(
            wxEVT_TIMER, [this](wxTimerEvent&) { Close(); }, kQuitTimer);
        Bind(wxEVT_CLOSE_WINDOW, &MainFrame::onClose, this);
        refresh_.Start(40);
        if (quitAfterSeconds > 0) quit_.StartOnce(static_cast<int>(quitAfterSeconds * 1000));
    }

private:
    void showPicture() {
        Camera* camera = Camera::getInstance();
        unsigned char* pixels = camera->getActiveImage();
        // Colour: the camera's own buffer, borrowed. Monochrome: a new array, ours to release.
        const std::unique_ptr<unsigned char[]> owned(camera->isColor() ? nullptr : pixels);
        if (!pixels) return;
        const wxImage full(camera->getMaxWidth(), camera->getMaxHeight(), pixels, true);  // borrows them
        const wxSize box = picture_->GetClientSize();
        if (box.x > 0 && box.y > 0) bitmap_ = wxBitmap(full.Scale(box.x, box.y));
        picture_->Refresh(false);
    }

    void onPaint(wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(picture_);
        dc.Clear();
        if (bitmap_.IsOk()) dc.DrawBitmap(bitmap_, 0, 0);
    }

    void onRecord(wxCommandEvent&) {
        Camera* camera = Camera::getInstance();
        if (!recording_) {
            // 10 s at the camera's own frame rate (-1), at most 100 MB, played back at 25 fps.
            camera->startRecording(this, "example.avi", 10.0, -1.0, 100.0, 25);
            recording_ = true;
            record_->SetLabel("Stop");
        } else {
            camera->stopRecording();  // a stop by the host brings no recordEnd()
            recordingEnded();
        }
    }

    // The recording reached its length or size limit: called from the
    // recording timer, on this (the main) thread, after the file was closed.
    void recordEnd() override { recordingEnded(); }

    void recordingEnded() {
        recording_ = false;
        record_->SetLabel("Record");
        // Each new recording appends the listener again: take it out.
        Camera::getInstance()->removeListener(this);
    }

    void onOptimize(wxCommandEvent&) {
        optimize_->Disable();
        Camera::getInstance()->optimizeClock(this);
    }

    // On the worker thread: touch no window here, hand over to the main thread.
    void optimizeEnd() override {
        CallAfter([this] { optimize_->Enable(); });
    }

    void onClose(wxCloseEvent&) {
        refresh_.Stop();
        Camera* camera = Camera::getInstance();
        try {
            if (recording_) camera->stopRecording();  // exit() would leave it running
        } catch (const Qel::Exception& e) {
            report(e);
        }
        delete camera;  // waits for a running optimisation, then closes the camera
        Destroy();
    }

    wxPanel* picture_ = nullptr;
    wxButton* record_ = nullptr;
    wxButton* optimize_ = nullptr;
    wxBitmap bitmap_;
    wxTimer refresh_;
    wxTimer quit_;
    bool recording_ = false;
};

class ExampleApp : public wxApp {
public:
    bool OnInit() override {
        long quitAfter = 0;
        if (argc == 3 && argv[1] == "--quit-after") argv[2].ToLong(&quitAfter);
        try {
            Config::getInstance()->load();  // res/config.xml beside the executable
            Camera::getInstance()->init();  // the first camera, with its preset or factory values
        } catch (const Qel::Exception& e) {
            report(e);
            return false;
        }
        (new MainFrame(quitAfter))->Show();
        return true;
    }

    // A failed recording tick throws out of the event loop: report it and go on.
    bool OnExceptionInMainLoop() override {
        try {
            throw;
        } catch (const Qel::Exception& e) {
            report(e);
            return true;
        }
    }
};

}  // namespace

wxIMPLEMENT_APP(ExampleApp);
