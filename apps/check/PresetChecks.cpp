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

// The preset values the configuration still reports, "" when none.
std::string presetValuesLeft(const Config& config, const Camera::hstring& name) {
    long whole = 0;
    double real = 0.0;
    bool flag = false;
    int width = 0, height = 0;
    std::string left;
    const auto add = [&](bool present, const char* element) {
        if (present) left += std::string(left.empty() ? "" : ", ") + element;
    };
    add(config.isUserDefined(name), "isUserDefined");
    add(config.getUserMasterGain(name, whole), "UserMasterGain");
    add(config.getUserRedGain(name, whole), "UserRedGain");
    add(config.getUserGreenGain(name, whole), "UserGreenGain");
    add(config.getUserBlueGain(name, whole), "UserBlueGain");
    add(config.getUserAutoGain(name, flag), "UserAutoGain");
    add(config.getUserBrightness(name, whole), "UserBrightness");
    add(config.getUserExposure(name, real), "UserExposure");
    add(config.getUserFramerate(name, real), "UserFramerate");
    add(config.getUserSizes(name, width, height), "UserWidth and UserHeight");
    return left;
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
            const double rate =
                factory.frameRate >= 2.0 ? std::floor(factory.frameRate * 0.6) : factory.frameRate * 0.6;
            camera.setFrameRate(rate);
            camera.setExposure(std::round(3000.0 / factory.frameRate) / 10.0 + 0.1);
            camera.setAutoGain(false);
            camera.setGain(unlike(factory.gain, 17, 19), unlike(factory.redGain, 23, 29),
                           unlike(factory.greenGain, 31, 37), unlike(factory.blueGain, 13, 11));
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
            std::string left = presetValuesLeft(config, name);
            expect(left.empty(), "after resetUserSettings the configuration still reports " + left);
            left = userElementsInFile(copy, name);
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

// A preset without some values applies their starting values: colour gains
// 0, automatic gain on, brightness 0.
void presetPartial(Session& session) {
    Config& config = session.config();
    Camera& camera = session.open();
    const Camera::hstring name = camera.getName();
    const CameraBaseline opened = CameraBaseline::read(camera);
    withUndo(
        [&] {
            config.clearUserSettings(name);
            config.setUserMasterGain(name, opened.gain);
            config.setUserExposure(name, opened.exposure);
            config.setUserFramerate(name, opened.frameRate);
            config.setUserSizes(name, opened.width, opened.height);
            const CameraBaseline applied = CameraBaseline::read(session.reopen());
            expect(applied.redGain == 0 && applied.greenGain == 0 && applied.blueGain == 0 && applied.autoGain &&
                       applied.brightness == 0,
                   "a preset without colour gains, automatic gain and brightness gave colour gains " +
                       std::to_string(applied.redGain) + "/" + std::to_string(applied.greenGain) + "/" +
                       std::to_string(applied.blueGain) + ", automatic gain " + onOff(applied.autoGain) +
                       ", brightness " + std::to_string(applied.brightness) + "; expected 0/0/0, on, 0");
        },
        [&] {
            session.sandbox().resetCopy();
            session.close();
        });
}

// A preset the checker writes into the file itself, on one line of a camera
// element of its own: the first child, unreadable values, a width without
// its height. A save keeps that line as it is; a new value goes last.
void presetFile(Session& session) {
    Config& config = session.config();
    const Sandbox& sandbox = session.sandbox();
    const std::string copy = sandbox.folder() + "res/config.xml";
    const Camera::hstring name = "NimbrelCheckCamera";
    withUndo(
        [&] {
            std::string text = sandbox.copyText();
            const auto end = text.find("</CameraSettings>");
            expect(end != std::string::npos, "the file has no CameraSettings");
            text.insert(end,
                        "<NimbrelCheckCamera><UserMasterGain>21</UserMasterGain><UserRedGain>12x</UserRedGain>"
                        "<UserExposure>fast</UserExposure><UserWidth>640</UserWidth></NimbrelCheckCamera>");
            sandbox.setCopyText(text);
            config.load();
            long whole = kUnset, red = kUnset;
            double exposure = kUnsetReal;
            int width = -1, height = -1;
            const bool defined = config.isUserDefined(name), master = config.getUserMasterGain(name, whole),
                       redRead = config.getUserRedGain(name, red),
                       exposureRead = config.getUserExposure(name, exposure),
                       sizes = config.getUserSizes(name, width, height);
            expect(defined && master && whole == 21 && !redRead && red == kUnset && !exposureRead &&
                       exposure == kUnsetReal && !sizes && width == 640 && height == -1,
                   std::string("UserMasterGain 21 as the first child, UserRedGain \"12x\", ") +
                       "UserExposure \"fast\" and UserWidth 640 alone read as: defined " + (defined ? "yes" : "no") +
                       ", master gain " + (master ? std::to_string(whole) : "missing") + ", red gain " +
                       (redRead ? std::to_string(red) : "missing") + ", exposure " +
                       (exposureRead ? show(exposure) : "missing") + ", sizes " + (sizes ? "present" : "missing") +
                       " leaving " + std::to_string(width) + " x " + std::to_string(height));
            config.setUserMasterGain(name, 21);
            expect(sandbox.copyText() == text, "saving an unchanged value changed the file's layout");
            config.setUserBlueGain(name, 7);
            const Qel::XML::XMLDoc file(copy, true, false);
            const Qel::XML::XMLNode camera = file.getRoot().getChild("CameraSettings", "").getChild(name, "");
            const Camera::hstring last = camera.getChildAt(camera.getChildrenCount() - 1).getName();
            expect(last == Camera::hstring("UserBlueGain") && config.getUserBlueGain(name, whole) && whole == 7,
                   "UserBlueGain 7, new to the camera element, is not its last child (" + last.str() + " is)");
            expect(config.clearUserSettings(name), "clearUserSettings returned false");
            const std::string left = userElementsInFile(copy, name);
            expect(left.empty() && !config.isUserDefined(name), "clearUserSettings left" + left);
        },
        [&] { sandbox.resetCopy(); });
}

// Each camera setter marks the camera settings as unsaved; the others leave
// the mark alone.
void savedFlag(Session& session) {
    Config& config = session.config();
    expect(session.savedAtStart(), "the configuration, just loaded, marked the camera settings unsaved");
    Camera& camera = session.open();
    const CameraBaseline before = CameraBaseline::read(camera);
    const auto clears = [&](const char* what, bool shouldClear, const std::function<void()>& call) {
        config.setConfSaved(true);
        call();
        expect(config.getConfSaved() != shouldClear,
               std::string(what) + (shouldClear ? " left" : " cleared") + " the saved mark of the camera settings");
    };
    withUndo(
        [&] {
            clears("setGain", true,
                   [&] { camera.setGain(before.gain, before.redGain, before.greenGain, before.blueGain); });
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
            expect(
                config.isUserRecordingDefined() && values() == "10/25/100/12",
                "length/frame rate/size/replay rate saved as 10.9/25.5/100/12 read back from the file as " + values());
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
        {"preset-round-trip",
         "a saved preset reads back from the file and applies on opening; a reset clears it "
         "and brings the factory values back (on the configuration copy)",
         presetRoundTrip},
        {"preset-partial", "a preset without some values applies their starting values (on the copy)", presetPartial},
        {"preset-file", "a preset written into the file reads back value by value and clears (on the copy)",
         presetFile},
        {"saved-flag", "camera setters mark the settings unsaved, the others leave the mark", savedFlag},
        {"recording-settings", "recording settings saved, read back from the file and reset (on the copy)",
         recordingSettings},
    };
}

}  // namespace check
