#include "Sweep.h"

#include <set>
#include <stdexcept>

namespace sweep {

namespace {

const char* const kColour = "SIM1280-C";
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
        {"init", kColour, nothing, opened},
        {"init_user_preset", kColour, withPreset, opened},
        {"init_monochrome", kMono, nothing, opened},
        {"init_reopen", kColour, opened, opened},
        {"exit", kColour, opened, [](S& s) { s.camera()->exit(); }},
        {"setDefaults", kColour, opened, [](S& s) { s.camera()->setDefaults(); }},
        {"getName", kColour, opened, [](S& s) { (void)s.camera()->getName(); }},
        {"getSensor", kColour, opened, [](S& s) { (void)s.camera()->getSensor(); }},
        {"getMaxWidth", kColour, opened, [](S& s) { (void)s.camera()->getMaxWidth(); }},
        {"getMaxHeight", kColour, opened, [](S& s) { (void)s.camera()->getMaxHeight(); }},
        {"isColor", kColour, opened, [](S& s) { (void)s.camera()->isColor(); }},
        {"getCamHandle", kColour, opened, [](S& s) { (void)s.camera()->getCamHandle(); }},
        {"removeListener", kColour, recording, [](S& s) { s.camera()->removeListener(&s.listener()); }},
        // Live picture.
        {"getActiveImage", kColour, opened, picture},
        {"getActiveImage_monochrome", kMono, opened, picture},
        // Gain.
        {"setGain", kColour, opened, [](S& s) { s.camera()->setGain(40, 10, 5, 20); }},
        {"getGain", kColour, opened, [](S& s) { (void)s.camera()->getGain(); }},
        {"getRedGain", kColour, opened, [](S& s) { (void)s.camera()->getRedGain(); }},
        {"getGreenGain", kColour, opened, [](S& s) { (void)s.camera()->getGreenGain(); }},
        {"getBlueGain", kColour, opened, [](S& s) { (void)s.camera()->getBlueGain(); }},
        {"setAutoGain_on", kColour, opened, [](S& s) { s.camera()->setAutoGain(true); }},
        {"setAutoGain_off", kColour, opened, [](S& s) { s.camera()->setAutoGain(false); }},
        {"isGainAuto", kColour, opened, [](S& s) { (void)s.camera()->isGainAuto(); }},
        {"setDefaultGain", kColour, opened, [](S& s) { s.camera()->setDefaultGain(); }},
        // Exposure, frame rate, brightness.
        {"setExposure", kColour, opened, [](S& s) { s.camera()->setExposure(12.5); }},
        {"getExposure", kColour, opened, [](S& s) { (void)s.camera()->getExposure(); }},
        {"setDefaultExposure", kColour, opened, [](S& s) { s.camera()->setDefaultExposure(); }},
        {"setFrameRate", kColour, opened, [](S& s) { s.camera()->setFrameRate(20.0); }},
        {"getFrameRate", kColour, opened, [](S& s) { (void)s.camera()->getFrameRate(); }},
        {"setDefaultFrameRate", kColour, opened, [](S& s) { s.camera()->setDefaultFrameRate(); }},
        {"setBrightness", kColour, opened, [](S& s) { s.camera()->setBrightness(70); }},
        {"getBrightness", kColour, opened, [](S& s) { (void)s.camera()->getBrightness(); }},
        {"setDefaultBrightness", kColour, opened, [](S& s) { s.camera()->setDefaultBrightness(); }},
        // Area of interest.
        {"setAOI", kColour, opened, [](S& s) { s.camera()->setAOI(640, 480); }},
        {"setAOI_monochrome", kMono, opened, [](S& s) { s.camera()->setAOI(640, 480); }},
        {"setDefaultAOI", kColour, opened, [](S& s) { s.camera()->setDefaultAOI(); }},
        {"getWidth", kColour, opened, [](S& s) { (void)s.camera()->getWidth(); }},
        {"getHeight", kColour, opened, [](S& s) { (void)s.camera()->getHeight(); }},
        {"getPosX", kColour, opened, [](S& s) { (void)s.camera()->getPosX(); }},
        {"getPosY", kColour, opened, [](S& s) { (void)s.camera()->getPosY(); }},
        // White balance.
        {"doWhiteBalance", kColour, opened, [](S& s) { s.camera()->doWhiteBalance(); }},
        {"stopWhiteBalance", kColour, opened, [](S& s) { s.camera()->stopWhiteBalance(); }},
        // User preset.
        {"saveUserSettings", kColour, opened, [](S& s) { s.camera()->saveUserSettings(); }, false, true},
        {"saveUserSettings_monochrome", kMono, opened, [](S& s) { s.camera()->saveUserSettings(); }, false, true},
        {"resetUserSettings", kColour, openedWithPreset, [](S& s) { s.camera()->resetUserSettings(); }},
        {"resetUserSettings_monochrome", kMono, openedWithPreset, [](S& s) { s.camera()->resetUserSettings(); }},
        {"init_user_preset_monochrome", kMono, withPreset, opened},
        // Recording.
        {"startRecording", kColour, opened,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 2, 25, 100, 25); }},
        {"startRecording_monochrome", kMono, opened,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 2, 25, 100, 25); }},
        {"startRecording_camera_rate", kColour, opened,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 2, -1, 100, 25); }},
        {"startRecording_resume", kColour, paused,
         [](S& s) { s.camera()->startRecording(&s.listener(), s.aviPath(), 4, -1, 100, 25); }},
        {"pauseRecording", kColour, recording, [](S& s) { s.camera()->pauseRecording(); }},
        {"stopRecording", kColour, recording, [](S& s) { s.camera()->stopRecording(); }},
        {"stopRecording_paused", kColour, paused, [](S& s) { s.camera()->stopRecording(); }},
        {"recordTick", kColour, recording, tick},
        {"recordTick_monochrome", kMono, recording, tick},
        {"recordTick_size_limit", kColour, recordingAtSizeLimit, tick},
        {"recordTick_length_limit", kColour, recordingLastFrame, tick},
        // Pixel clock optimisation.
        {"optimizeClock", kColour, opened, optimize, true},
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
