// The configuration as the module reads it against the file itself, and the
// module's two error messages as the host receives them.
#include "Checks.h"
#include "Sandbox.h"
#include "Session.h"

#include <Qel/Qel.h>

#include <functional>
#include <locale>
#include <optional>
#include <sstream>

namespace check {

namespace {

using Nimbrel_model::Camera;
using Nimbrel_model::Config;
using Qel::Strings::hstring;

std::string copyPath(Session& session) { return session.sandbox().folder() + "res/config.xml"; }

// The file's own text of an element of the camera, read apart from the module.
class CameraElement {
public:
    CameraElement(const std::string& path, const hstring& camera)
        : file_(path, true, false), node_(file_.getRoot().getChild("CameraSettings", "").getChild(camera, "")) {}
    bool has(const char* element) const { return !node_.getChild(element, "").isNull(); }
    hstring text(const char* element) const { return node_.getChild(element, "").getText(); }

private:
    Qel::XML::XMLDoc file_;
    Qel::XML::XMLNode node_;
};

// Numbers as the file's comment defines them, in the C locale.
template <typename Number>
bool parse(const hstring& text, Number& value) {
    std::istringstream in(text.str());
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

// What the module's getter gave, against the file's text.
void compare(const char* element, const std::string& text, const std::function<std::string()>& read,
             const std::string& expected, std::string& found) {
    std::string got;
    try {
        got = read();
    } catch (const Qel::Exception& e) {
        got = "an error (" + e.getMessage().str() + ")";
    }
    if (got != expected)
        found += std::string(found.empty() ? "" : "; ") + element + " \"" + text + "\" reads as " + got +
                 ", expected " + expected;
}

void factoryValues(Session& session) {
    Config& config = session.config();
    const hstring name = session.open().getName();
    const CameraElement file(copyPath(session), name);
    std::string found;
    using WholeGetter = long (Config::*)(const hstring&) const;
    const std::pair<const char*, WholeGetter> wholes[] = {
        {"RedGain", &Config::getRedGain},
        {"GreenGain", &Config::getGreenGain},
        {"BlueGain", &Config::getBlueGain},
        {"Brightness", &Config::getBrightness},
        {"Clock", &Config::getClock},
        {"Gamma", &Config::getGamma},
        {"BlackLevel", &Config::getBlackLevel},
        {"ColorMode", &Config::getColorMode},
        {"ColorCorrection", &Config::getColorCorrection},
    };
    for (const auto& [element, get] : wholes) {
        expect(file.has(element), "the file has no " + std::string(element) + " for " + name.str());
        long value = 0;
        const std::string text = file.text(element).str();
        compare(
            element, text, [&, get = get] { return std::to_string((config.*get)(name)); },
            parse(text, value) ? std::to_string(value) : "an error (message 64)", found);
    }
    for (const char* element : {"AutoGain", "BLEnable"}) {
        expect(file.has(element), "the file has no " + std::string(element) + " for " + name.str());
        const auto get = std::string(element) == "AutoGain" ? &Config::getAutoGain : &Config::getBLEnable;
        compare(
            element, file.text(element).str(), [&] { return std::string((config.*get)(name) ? "true" : "false"); },
            Qel::XML::XMLDoc::castBoolean(file.text(element)) ? "true" : "false", found);
    }
    // Automatic gain in the factory values makes the master gain -1.
    long master = 0;
    const bool automatic = file.text("AutoGain").ci_eq("true");
    const std::string wantedMaster = automatic                                ? "-1"
                                     : parse(file.text("MasterGain"), master) ? std::to_string(master)
                                                                              : "an error (message 64)";
    compare(
        "MasterGain", file.text("MasterGain").str(), [&] { return std::to_string(config.getMasterGain(name)); },
        wantedMaster, found);
    double exposure = 0.0;
    compare(
        "Exposure", file.text("Exposure").str(), [&] { return show(config.getExposure(name)); },
        parse(file.text("Exposure"), exposure) ? show(exposure) : "an error (message 64)", found);
    expect(found.empty(), "factory values of " + name.str() + ": " + found);
}

void language(Session& session) {
    Config& config = session.config();
    const Qel::XML::XMLDoc whole(copyPath(session), true, false);
    const Qel::XML::XMLNode element = whole.getRoot().getChild("Language", "");
    const hstring expected = element.isNull() ? hstring("French") : element.getText();
    expect(config.getLanguage() == expected,
           "language \"" + config.getLanguage().str() + "\", the file says \"" + expected.str() + "\"");
    withUndo(
        [&] {
            config.setLanguage("Nimbrel check");
            config.load();
            expect(config.getLanguage() == hstring("Nimbrel check"),
                   "language \"" + config.getLanguage().str() + "\" read back from the file after setLanguage");
            // Without the element: French, written by the next save only.
            Qel::XML::XMLDoc edited(copyPath(session), true, false);
            Qel::XML::XMLNode root = edited.getRoot();
            for (int i = root.getChildrenCount() - 1; i >= 0; --i)
                if (root.getChildAt(i).getName() == hstring("Language")) root.removeChildAt(i);
            edited.save("", true);
            config.load();
            expect(config.getLanguage() == hstring("French"),
                   "without a Language element the language reads as \"" + config.getLanguage().str() + "\"");
            config.setAviUserLength(config.getAviUserLength());
            config.load();
            expect(config.getLanguage() == hstring("French") &&
                       !Qel::XML::XMLDoc(copyPath(session), true, false).getRoot().getChild("Language", "").isNull(),
                   "the next save after reading a missing language did not store French");
        },
        [&] { session.sandbox().resetCopy(); });
}

// A copy of the configuration, made or assigned, holds what the original
// holds, flags included.
void configCopy(Session& session) {
    Config& config = session.config();
    const bool saved = config.getConfSaved(), recordSaved = config.getRecordConfSaved();
    withUndo(
        [&] {
            Config copy(config);
            config.setLanguage("Nimbrel check copy");
            config.setConfSaved(!saved);
            config.setRecordConfSaved(!recordSaved);
            copy = config;
            expect(copy.getLanguage() == config.getLanguage() && copy.getConfSaved() == !saved &&
                       copy.getRecordConfSaved() == !recordSaved,
                   "an assigned copy of the configuration has language \"" + copy.getLanguage().str() +
                       "\", saved marks " + (copy.getConfSaved() ? "true" : "false") + " and " +
                       (copy.getRecordConfSaved() ? "true" : "false"));
        },
        [&] {
            session.sandbox().resetCopy();
            config.setConfSaved(saved);
            config.setRecordConfSaved(recordSaved);
        });
}

// The host tells the two failures apart by their texts: message 63 with the
// call's name and status, message 64 as the table has it.
void messages(Session& session) {
    const auto table = [](int id) { return Qel::Strings::StringTable::get().getString("Nimbrel", id).str(); };
    const auto caught = [](const std::function<void()>& call) -> std::optional<Qel::Exception> {
        try {
            call();
        } catch (const Qel::Exception& e) {
            return e;
        }
        return std::nullopt;
    };
    const auto missing = caught([&] { session.config().getGamma("nimbrel-check: no such camera"); });
    expect(missing.has_value(), "getGamma for a camera the file does not hold did not throw");
    expect(missing->getMessage().str() == table(64) && missing->getSeverity() == Qel::Exception::Error,
           "a missing configuration value gave \"" + missing->getMessage().str() + "\", severity " +
               std::to_string(missing->getSeverity()) + "; expected message 64, \"" + table(64) + "\", severity 10");

    Camera& camera = session.open();
    const int width = camera.getWidth(), height = camera.getHeight();
    // No camera has an area twice its sensor: is_SetImageSize refuses it.
    std::optional<Qel::Exception> refused;
    withUndo([&] { refused = caught([&] { camera.setAOI(camera.getMaxWidth() * 2, camera.getMaxHeight() * 2); }); },
             [&] {
                 if (width == camera.getMaxWidth() && height == camera.getMaxHeight())
                     camera.setDefaultAOI();
                 else
                     camera.setAOI(width, height);
             });
    expect(refused.has_value(), "setAOI with twice the sensor's size did not throw");
    hstring prefix = table(63);
    prefix.replaceAll("%s", "is_SetImageSize");
    const std::string message = refused->getMessage().str();
    long status = 0;
    expect(message.rfind(prefix.str(), 0) == 0 && parse(message.substr(prefix.length()), status) && status != 0 &&
               refused->getSeverity() == Qel::Exception::Error,
           "a refused area gave \"" + message + "\", severity " + std::to_string(refused->getSeverity()) +
               "; expected \"" + prefix.str() + "\" and the status, severity 10");
}

}  // namespace

std::vector<Check> configChecks() {
    return {
        {"factory-values", "the factory values the module reads are those the file holds", factoryValues},
        {"language", "the language reads as the file holds it and is saved (on the copy)", language},
        {"config-copy", "an assigned copy of the configuration holds its values and flags", configCopy},
        {"messages", "a missing configuration value and a refused camera call give messages 64 and 63", messages},
    };
}

}  // namespace check
