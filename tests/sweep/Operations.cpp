#include "Sweep.h"

#include <set>
#include <stdexcept>

namespace sweep {

namespace {

const char* const kColor = "SIM1280-C";
const char* const kMono = "SIM1280-M";

void nothing(Session&) {}
void opened(Session& s) { s.camera()->init(); }

// A stored preset makes set-up take its user branch.
void withPreset(Session& s) {
    s.camera()->init();
    s.camera()->saveUserSettings();
    s.camera()->exit();
}

void openedWithPreset(Session& s) {
    withPreset(s);
    s.camera()->init();
}

// A running recording with no length limit.
void recording(Session& s) {
    s.camera()->init();
    s.camera()->startRecording(&s.listener(), s.aviPath(), 0, 25, 100, 25);
}

void paused(Session& s) {
    recording(s);
    s.camera()->pauseRecording();
}

// The next tick ends the recording at its size limit, before writing.
void recordingAtSizeLimit(Session& s) {
    s.camera()->init();
    s.camera()->startRecording(&s.listener(), s.aviPath(), 0, 25, 0, 25);
}

// The next tick writes the last frame of the recording's length.
void recordingLastFrame(Session& s) {
    s.camera()->init();
    s.camera()->startRecording(&s.listener(), s.aviPath(), 0.01, 25, 100, 25);
}

void tick(Session& s) { testsupport::recordTick(s.camera()); }

void picture(Session& s) {
    unsigned char* image = s.camera()->getActiveImage();
    if (!s.camera()->isColor()) delete[] image;
}

void optimize(Session& s) {
    s.camera()->optimizeClock(&s.listener());
    if (!testsupport::pumpUntil([&] { return s.listener().optimizeEnds > 0; }, 30000))
        throw std::runtime_error("optimizeEnd never came");
}

std::vector<Operation> build() {
    using S = Session;
    return {
        // Lifecycle and accessors.
        {"init", kColor, nothing, opened},
        {"init_user_preset", kColor, withPreset, opened},
        {"init_monochrome", kMono, nothing, opened},
        {"init_reopen", kColor, opened, opened},
        {"exit", kColor, opened, [](S& s) { s.camera()->exit(); }},
        {"setDefaults", kColor, opened, [](S& s) { s.camera()->setDefaults(); }},
        {"getName", kColor, opened, [](S& s) { (void)s.camera()->getName(); }},
        {"getSensor", kColor, opened, [](S& s) { (void)s.camera()->getSensor(); }},
        {"getMaxWidth", kColor, opened, [](S& s) { (void)s.camera()->getMaxWidth(); }},
        {"getMaxHeight", kColor, opened, [](S& s) { (void)s.camera()->getMaxHeight(); }},
        {"isColor", kColor, opened, [](S& s) { (void)s.camera()->isColor(); }},
        {"getCamHandle", kColor, opened, [](S& s) { (void)s.camera()->getCamHandle(); }},
        {"removeListener", kColor, recording, [](S& s) { s.camera()->removeListener(&s.listener()); }},
        // Live picture.
        {"getActiveImage", kColor, opened, picture},
        {"getActiveImage_monochrome", kMono, opened, picture},
        // Gain.
        {"setGain", kColor, opened, [](S& s) { s.camera()->setGain(40, 10, 5, 20); }},
        {"getGain", kColor, opened, [](S& s) { (void)s.camera()->getGain(); }},
        {"getRedGain", kColor, opened, [](S& s) { (void)s.camera()->getRedGain(); }},
        {"getGreenGain", kColor, opened, [](S& s) { (void)s.camera()->getGreenGain(); }},
        {"getBlueGain", kColor, opened, [](S& s) { (void)s.camera()->getBlueGain(); }},
        {"setAutoGain_on", kColor, opened, [](S& s) { s.camera()->setAutoGain(true); }},
        {"setAutoGain_off", kColor, opened, [](S& s) { s.camera()->setAutoGain(false); }},
        {"isGainAuto", kColor, opened, [](S& s) { (void)s.camera()->isGainAuto(); }},
        {"setDefaultGain", kColor, opened, [](S& s) { s.camera()->setDefaultGain(); }},
        // Exposure, frame rate, brightness.
        {"setExposure", kColor, opened, [](S& s) { s.camera()->setExposure(12.5); }},
        {"getExposure", kColor, opened, [](S& s) { (void)s.camera()->getExposure(); }},
        {"setDefaultExposure", kColor, opened, [](S& s) { s.camera()->setDefaultExposure(); }},
        {"setFrameRate", kColor, opened, [](S& s) { s.camera()->setFrameRate(20.0); }},
        {"getFrameRate", kColor, opened, [](S& s) { (void)s.camera()->getFrameRate(); }},
        {"setDefaultFrameRate", kColor, opened, [](S& s) { s.camera()->setDefaultFrameRate(); }},
        {"setBrightness", kColor, opened, [](S& s) { s.camera()->setBrightness(70); }},
        {"getBrightness", kColor, opened, [](S& s) { (void)s.camera()->getBrightness(); }},
        {"setDefaultBrightness", kColor, opened, [](S& s) { s.camera()->setDefaultBrightness(); }},
        // Area of interest.
        {"setAOI", kColor, opened, [](S& s) { s.camera()->setAOI(640, 480); }},
        {"setAOI_monochrome", kMono, opened, [](S& s) { s.camera()->setAOI(640, 480); }},
        {"setDefaultAOI", kColor, opened, [](S& s) { s.camera()->setDefaultAOI(); }},
        {"getWidth", kColor, opened, [](S& s) { (void)s.camera()->getWidth(); }},
        {"getHeight", kColor, opened, [](S& s) { (void)s.camera()->getHeight(); }},
        {"getPosX", kColor, opened, [](S& s) { (void)s.camera()->getPosX(); }},
        {"getPosY", kColor, opened, [](S& s) { (void)s.camera()->getPosY(); }},
        // Ranges: one per SDK query behind them.
        {"getExposureRange", kColor, opened, [](S& s) { (void)s.camera()->getExposureRange(); }},
        {"getFrameRateRange", kColor, opened, [](S& s) { (void)s.camera()->getFrameRateRange(); }},
        {"getWidthRange", kColor, opened, [](S& s) { (void)s.camera()->getWidthRange(); }},
        // The connected cameras, asked before any opening.
        {"getConnectedCameras", kColor, nothing, [](S&) { (void)Nimbrel_model::Camera::getConnectedCameras(); }},
        // White balance.
        {"doWhiteBalance", kColor, opened, [](S& s) { s.camera()->doWhiteBalance(); }},
        {"stopWhiteBalance", kColor, opened, [](S& s) { s.camera()->stopWhiteBalance(); }},
        // User preset.
        {"saveUserSettings", kColor, opened, [](S& s) { s.camera()->saveUserSettings(); }, false, true},
        {"saveUserSettings_monochrome", kMono, opened, [](S& s) { s.camera()->saveUserSettings(); }, false, true},
        {"resetUserSettings", kColor, openedWithPreset, [](S& s) { s.camera()->resetUserSettings(); }},
        {"resetUserSettings_monochrome", kMono, openedWithPreset, [](S& s) { s.camera()->resetUserSettings(); }},
        {"init_user_preset_monochrome", kMono, withPreset, opened},
        // Recording.
        {"startRecording", kColor, opened,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 2, 25, 100, 25); }},
        {"startRecording_monochrome", kMono, opened,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 2, 25, 100, 25); }},
        {"startRecording_camera_rate", kColor, opened,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 2, -1, 100, 25); }},
        {"startRecording_resume", kColor, paused,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 4, -1, 100, 25); }},
        {"pauseRecording", kColor, recording, [](S& s) { s.camera()->pauseRecording(); }},
        {"stopRecording", kColor, recording, [](S& s) { s.camera()->stopRecording(); }},
        {"stopRecording_paused", kColor, paused, [](S& s) { s.camera()->stopRecording(); }},
        {"recordTick", kColor, recording, tick},
        {"recordTick_monochrome", kMono, recording, tick},
        {"recordTick_size_limit", kColor, recordingAtSizeLimit, tick},
        {"recordTick_length_limit", kColor, recordingLastFrame, tick},
        // Pixel clock optimisation.
        {"optimizeClock", kColor, opened, optimize, true},
    };
}

}  // namespace

bool savedAfterCleanRun(const Operation& operation, bool before) {
    static const std::set<std::string> clears = {
        "init",        "init_monochrome",    "init_reopen",  "setDefaults",         "setGain",
        "setExposure", "setDefaultExposure", "setFrameRate", "setDefaultFrameRate", "setBrightness",
        "setAOI",      "setAOI_monochrome",  "optimizeClock"};
    static const std::set<std::string> sets = {"init_user_preset",  "init_user_preset_monochrome",
                                               "saveUserSettings",  "saveUserSettings_monochrome",
                                               "resetUserSettings", "resetUserSettings_monochrome"};
    return sets.count(operation.name) > 0 || (clears.count(operation.name) == 0 && before);
}

const std::vector<Operation>& operations() {
    static const std::vector<Operation> all = build();
    return all;
}

}  // namespace sweep
