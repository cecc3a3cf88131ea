// What the module saves against what it reads back and applies: the user
// preset through the file and a new opening, the reset to the factory
// values, the saved flags, and the recording settings. All on the
// configuration copy, which each check gives back its original content.
#include "CameraBaseline.h"
#include "Checks.h"
#include "Sandbox.h"
#include "Session.h"

#include <Qel/Qel.h>

#include <cmath>

namespace check {

namespace {

using Nimbrel_model::Camera;
using Nimbrel_model::Config;

// Sentinels that no getter would store by chance.
constexpr long kUnset = -12345;
constexpr double kUnsetReal = -12345.5;

// `preferred`, or `instead` when the camera already has that value: a value
// the check can tell apart from the one before.
int unlike(int current, int preferred, int instead) { return current == preferred ? instead : preferred; }

std::string onOff(bool on) { return on ? "on" : "off"; }

// Where `actual` differs from `wanted`, "" when nowhere. The master gain is
// left out while automatic gain moves it.
std::string differences(const CameraBaseline& actual, const CameraBaseline& wanted) {
    std::string found;
    const auto whole = [&](const char* what, long a, long w) {
        if (a != w) found += std::string(found.empty() ? "" : "; ") + what + " " + std::to_string(a) + ", expected " +
                             std::to_string(w);
    };
    const auto real = [&](const char* what, double a, double w) {
        if (!near(a, w, 0.02, 0.02)) found += std::string(found.empty() ? "" : "; ") + what + " " + show(a) +
                                              ", expected " + show(w);
    };
    if (actual.autoGain != wanted.autoGain)
        found = "automatic gain " + onOff(actual.autoGain) + ", expected " + onOff(wanted.autoGain);
    if (!wanted.autoGain) whole("master gain", actual.gain, wanted.gain);
    whole("red gain", actual.redGain, wanted.redGain);
    whole("green gain", actual.greenGain, wanted.greenGain);
    whole("blue gain", actual.blueGain, wanted.blueGain);
    whole("brightness", actual.brightness, wanted.brightness);
    real("exposure", actual.exposure, wanted.exposure);
    real("frame rate", actual.frameRate, wanted.frameRate);
    whole("width", actual.width, wanted.width);
    whole("height", actual.height, wanted.height);
    return found;
}

// The preset as the configuration reads it back; a missing value stays at
// the sentinel and is named.
std::string presetDifferences(const Config& config, const Camera::hstring& name, const CameraBaseline& wanted) {
    std::string found;
    const auto add = [&](const std::string& text) { found += (found.empty() ? "" : "; ") + text; };
    const auto whole = [&](const char* element, bool (Config::*get)(const Camera::hstring&, long&) const, long w) {
        long value = kUnset;
        if (!(config.*get)(name, value))
            add(std::string(element) + " reads as missing");
        else if (value != w && w != kUnset)
            add(std::string(element) + " " + std::to_string(value) + ", expected " + std::to_string(w));
    };
    const auto real = [&](const char* element, bool (Config::*get)(const Camera::hstring&, double&) const, double w) {
        double value = kUnsetReal;
        if (!(config.*get)(name, value))
            add(std::string(element) + " reads as missing");
        else if (!near(value, w, 1e-9, 0.0))
            add(std::string(element) + " " + show(value) + ", expected " + show(w));
    };
    if (!config.isUserDefined(name)) add("isUserDefined is false");
    // Automatic gain moves the master gain: then only its presence counts.
    whole("UserMasterGain", &Config::getUserMasterGain, wanted.autoGain ? kUnset : wanted.gain);
    whole("UserRedGain", &Config::getUserRedGain, wanted.redGain);
    whole("UserGreenGain", &Config::getUserGreenGain, wanted.greenGain);
    whole("UserBlueGain", &Config::getUserBlueGain, wanted.blueGain);
    bool autoGain = !wanted.autoGain;
    if (!config.getUserAutoGain(name, autoGain))
        add("UserAutoGain reads as missing");
    else if (autoGain != wanted.autoGain)
        add("UserAutoGain " + onOff(autoGain) + ", expected " + onOff(wanted.autoGain));
    whole("UserBrightness", &Config::getUserBrightness, wanted.brightness);
    real("UserExposure", &Config::getUserExposure, wanted.exposure);
    real("UserFramerate", &Config::getUserFramerate, wanted.frameRate);
    int width = static_cast<int>(kUnset), height = static_cast<int>(kUnset);
    if (!config.getUserSizes(name, width, height))
        add("UserWidth and UserHeight read as missing");
    else if (width != wanted.width || height != wanted.height)
        add("UserWidth x UserHeight " + std::to_string(width) + " x " + std::to_string(height) + ", expected " +
            std::to_string(wanted.width) + " x " + std::to_string(wanted.height));
    return found;
}

// The names of the camera element's User* children in the file itself.
std::string userElementsInFile(const std::string& path, const Camera::hstring& name) {
    const Qel::XML::XMLDoc file(path, true, false);
    const Qel::XML::XMLNode camera = file.getRoot().getChild("CameraSettings", "").getChild(name, "");
    std::string found;
    for (int i = 0; i < camera.getChildrenCount(); ++i)
        if (camera.getChildAt(i).getName().glob("User*")) found += " " + camera.getChildAt(i).getName().str();
    return found;
}

void presetRoundTrip(Session& session) {
    Config& config = session.config();
    Camera& camera = session.open();
    const Camera::hstring name = camera.getName();
    const std::string copy = session.sandbox().folder() + "res/config.xml";
    // Without a preset of this camera in the file, saving one and resetting
    // it gives the file back byte for byte: the module keeps its layout.
    const bool presetBefore = !userElementsInFile(session.sandbox().originalPath(), name).empty();
    withUndo(
        [&] {
            expect(config.clearUserSettings(name), "clearUserSettings returned false");
            const CameraBaseline factory = CameraBaseline::read(session.reopen());

            // Values unlike the factory ones and unlike each other, within
            // what any camera takes; the exposure fits the frame time of
            // both frame rates.
            camera.setAOI(camera.getMaxWidth() * 3 / 4, camera.getMaxHeight() * 3 / 4);
            const double rate = factory.frameRate >= 2.0 ? std::floor(factory.frameRate * 0.6) : factory.frameRate * 0.6;
            camera.setFrameRate(rate);
            camera.setExposure(std::round(3000.0 / factory.frameRate) / 10.0 + 0.1);
            camera.setAutoGain(false);
            camera.setGain(unlike(factory.gain, 17, 19), unlike(factory.redGain, 23, 29), unlike(factory.greenGain, 31, 37),
                           unlike(factory.blueGain, 13, 11));
            camera.setBrightness(unlike(factory.brightness, 97, 101));
            const CameraBaseline applied = CameraBaseline::read(camera);

            camera.saveUserSettings();
            expect(config.getConfSaved(), "the settings are not marked as saved after saveUserSettings");
            config.load();  // what the file holds, not what is in memory
            std::string wrong = presetDifferences(config, name, applied);
            expect(wrong.empty(), "the saved preset read back from the file: " + wrong);
            wrong = differences(CameraBaseline::read(session.reopen()), applied);
            expect(wrong.empty(), "opening with the saved preset: " + wrong);
            expect(config.getConfSaved(), "the settings are not marked as saved after opening with the preset");

            // Saved again over the existing elements, with automatic gain on.
            camera.setAutoGain(true);
            camera.saveUserSettings();
            config.load();
            CameraBaseline withAuto = applied;
            withAuto.autoGain = true;
            wrong = presetDifferences(config, name, withAuto);
            expect(wrong.empty(), "the preset saved a second time, with automatic gain on, read back: " + wrong);
            expect(session.reopen().isGainAuto(), "opening with a preset of automatic gain on: automatic gain is off");

            camera.setBrightness(applied.brightness);  // unsaved again
            camera.resetUserSettings();
            expect(config.getConfSaved(), "the settings are not marked as saved after resetUserSettings");
            long value = kUnset;
            expect(!config.isUserDefined(name) && !config.getUserMasterGain(name, value) &&
                       !config.getUserBrightness(name, value),
                   "resetUserSettings left the preset in place (UserMasterGain " + std::to_string(value) + ")");
            const std::string left = userElementsInFile(copy, name);
            expect(left.empty(), "after resetUserSettings the file still holds" + left);
            wrong = differences(CameraBaseline::read(camera), factory);
            expect(wrong.empty(), "after resetUserSettings the factory values did not return: " + wrong);
            if (!presetBefore) {
                wrong = session.sandbox().copyDifference();
                expect(wrong.empty(), "a preset saved and reset did not give the file back as it was: " + wrong);
            }
        },
        [&] {
            session.sandbox().resetCopy();
            session.close();
        });
}

// Each camera setter marks the camera settings as unsaved; the others leave
// the mark alone.
void savedFlag(Session& session) {
    Config& config = session.config();
    Camera& camera = session.open();
    const CameraBaseline before = CameraBaseline::read(camera);
    const auto clears = [&](const char* what, bool shouldClear, const std::function<void()>& call) {
        config.setConfSaved(true);
        call();
        expect(config.getConfSaved() != shouldClear, std::string(what) + (shouldClear ? " left" : " cleared") +
                                                         " the saved mark of the camera settings");
    };
    withUndo(
        [&] {
            clears("setGain", true, [&] { camera.setGain(before.gain, before.redGain, before.greenGain, before.blueGain); });
            clears("setBrightness", true, [&] { camera.setBrightness(before.brightness); });
            clears("setExposure", true, [&] { camera.setExposure(before.exposure); });
            clears("setFrameRate", true, [&] { camera.setFrameRate(before.frameRate); });
            clears("setAOI", true, [&] { camera.setAOI(before.width, before.height); });
            clears("setDefaultExposure", true, [&] { camera.setDefaultExposure(); });
            clears("setDefaultFrameRate", true, [&] { camera.setDefaultFrameRate(); });
            clears("setAutoGain", false, [&] { camera.setAutoGain(before.autoGain); });
            clears("setDefaultBrightness", false, [&] { camera.setDefaultBrightness(); });
            clears("the getters", false, [&] { CameraBaseline::read(camera); });
        },
        [&] {
            before.apply(camera);
            config.setConfSaved(true);
        });
}

void recordingSettings(Session& session) {
    Config& config = session.config();
    const auto values = [&] {
        return std::to_string(config.getAviUserLength()) + "/" + std::to_string(config.getAviUserFrameRate()) + "/" +
               std::to_string(config.getAviUserMaxSize()) + "/" + std::to_string(config.getAviUserReplayFrameRate());
    };
    withUndo(
        [&] {
            config.setRecordConfSaved(false);
            config.saveUserRecordSettings(10.9, 25.5, 100.0, 12);
            expect(config.getRecordConfSaved(), "saveUserRecordSettings left the recording settings marked unsaved");
            config.load();
            expect(config.isUserRecordingDefined() && values() == "10/25/100/12",
                   "length/frame rate/size/replay rate saved as 10.9/25.5/100/12 read back from the file as " +
                       values());
            config.setRecordConfSaved(false);
            config.resetUserRecordSettings();
            expect(config.getRecordConfSaved(), "resetUserRecordSettings left the recording settings marked unsaved");
            config.load();
            expect(!config.isUserRecordingDefined() && values() == "0/0/0/0",
                   "after resetUserRecordSettings the file gives " + values());
            config.setAviUserReplayFrameRate(30);
            config.load();
            expect(config.isUserRecordingDefined() && values() == "0/0/0/30",
                   "after setAviUserReplayFrameRate(30) the file gives " + values());
        },
        [&] {
            session.sandbox().resetCopy();
            config.setRecordConfSaved(true);
        });
}

}  // namespace

std::vector<Check> presetChecks() {
    return {
        {"preset-round-trip", "a saved preset reads back from the file and applies on opening; a reset clears it "
                              "and brings the factory values back (on the configuration copy)", presetRoundTrip},
        {"saved-flag", "camera setters mark the settings unsaved, the others leave the mark", savedFlag},
        {"recording-settings", "recording settings saved, read back from the file and reset (on the copy)",
         recordingSettings},
    };
}

}  // namespace check
