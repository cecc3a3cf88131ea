#include "Bindings.h"

#include "Settings.h"

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include <climits>
#include <utility>

namespace nimbrel_python {

namespace {

namespace nm = Nimbrel_model;
using Qel::Strings::hstring;

// The Python face of the configuration store; it holds nothing of its own.
struct Config {};

nm::Config& config() { return *nm::Config::getInstance(); }

// Values within a 32-bit int, as the file stores them; Python's ints are unbounded.
long whole(long long value, const char* what) {
    if (value < INT_MIN || value > INT_MAX) throw py::value_error(std::string(what) + " must fit a 32-bit integer");
    return static_cast<long>(value);
}

using FactoryNumber = long (nm::Config::*)(const hstring&) const;
const std::pair<const char*, FactoryNumber> factoryNumbers[] = {
    {"master_gain", &nm::Config::getMasterGain},
    {"red_gain", &nm::Config::getRedGain},
    {"green_gain", &nm::Config::getGreenGain},
    {"blue_gain", &nm::Config::getBlueGain},
    {"brightness", &nm::Config::getBrightness},
    {"clock", &nm::Config::getClock},
    {"gamma", &nm::Config::getGamma},
    {"black_level", &nm::Config::getBlackLevel},
    {"color_mode", &nm::Config::getColorMode},
    {"color_correction", &nm::Config::getColorCorrection},
};

py::dict factory(const std::string& camera) {
    const nm::Config& c = config();
    py::dict values;
    for (const auto& [name, get] : factoryNumbers) values[name] = (c.*get)(camera);
    values["auto_gain"] = c.getAutoGain(camera);
    values["bl_enable"] = c.getBLEnable(camera);
    values["exposure"] = c.getExposure(camera);
    return values;
}

using LongGetter = bool (nm::Config::*)(const hstring&, long&) const;
using LongSetter = void (nm::Config::*)(const hstring&, const long&);
struct LongPreset {
    const char* name;
    LongGetter get;
    LongSetter set;
};
const LongPreset longPresets[] = {
    {"master_gain", &nm::Config::getUserMasterGain, &nm::Config::setUserMasterGain},
    {"red_gain", &nm::Config::getUserRedGain, &nm::Config::setUserRedGain},
    {"green_gain", &nm::Config::getUserGreenGain, &nm::Config::setUserGreenGain},
    {"blue_gain", &nm::Config::getUserBlueGain, &nm::Config::setUserBlueGain},
    {"brightness", &nm::Config::getUserBrightness, &nm::Config::setUserBrightness},
};

py::dict preset(const std::string& camera) {
    const nm::Config& c = config();
    py::dict values;
    for (const LongPreset& entry : longPresets) {
        long value = 0;
        if ((c.*entry.get)(camera, value)) values[entry.name] = value;
    }
    bool autoGain = false;
    if (c.getUserAutoGain(camera, autoGain)) values["auto_gain"] = autoGain;
    double real = 0.0;
    if (c.getUserExposure(camera, real)) values["exposure"] = real;
    if (c.getUserFramerate(camera, real)) values["frame_rate"] = real;
    int width = 0, height = 0;
    if (c.getUserSizes(camera, width, height)) {
        values["width"] = width;
        values["height"] = height;
    }
    return values;
}

void setPreset(const std::string& camera, const py::kwargs& values) {
    static const char* const others[] = {"auto_gain", "exposure", "frame_rate", "width", "height"};
    for (const auto& item : values) {
        const std::string key = py::str(item.first);
        bool known = false;
        for (const LongPreset& entry : longPresets) known = known || key == entry.name;
        for (const char* other : others) known = known || key == other;
        if (!known) throw py::type_error("set_preset() has no value '" + key + "'");
    }
    if (values.contains("width") != values.contains("height"))
        throw py::type_error("set_preset() takes width and height together");
    nm::Config& c = config();
    for (const LongPreset& entry : longPresets) {
        if (values.contains(entry.name))
            (c.*entry.set)(camera, whole(values[entry.name].cast<long long>(), entry.name));
    }
    if (values.contains("auto_gain")) c.setUserAutoGain(camera, values["auto_gain"].cast<bool>());
    if (values.contains("exposure")) c.setUserExposure(camera, values["exposure"].cast<double>());
    if (values.contains("frame_rate")) c.setUserFramerate(camera, values["frame_rate"].cast<double>());
    if (values.contains("width")) {
        c.setUserSizes(camera, static_cast<int>(whole(values["width"].cast<long long>(), "width")),
                       static_cast<int>(whole(values["height"].cast<long long>(), "height")));
    }
}

template <long (nm::Config::*Get)() const, void (nm::Config::*Set)(const long&)>
void recordingValue(py::class_<Config>& view, const char* name, const char* doc) {
    view.def_property(
        name, [](const Config&) { return (config().*Get)(); },
        [name](const Config&, long long value) {
            requireSettingsWritable("save the recording settings");
            (config().*Set)(whole(value, name));
        },
        doc);
}

}  // namespace

void bindConfig(py::module_& module) {
    py::class_<Config> view(module, "Config", R"(The configuration store: the settings file res/config.xml.

Get it with nimbrel_model.config(). Reads come from the file as loaded; every change is saved to the file at once
(atomically). Per camera model (the camera's name, such as "SIM1280-C") the file holds the factory values and the
user preset; for the whole module the recording settings and the interface language. A missing camera model or
factory value raises CameraError with message_id 64. Use it from one thread at a time.)");
    view.def_property_readonly(
            "path", [](const Config&) { return Qel::HelperFuncs::getAppDir().str() + "res/config.xml"; },
            "The settings file in use.")
        .def(
            "load", [](const Config&) { config().load(); },
            "Reads the file again, dropping changes held only in memory.")
        .def_property(
            "language", [](const Config&) { return config().getLanguage().str(); },
            [](const Config&, const std::string& language) {
                requireSettingsWritable("save the language");
                config().setLanguage(language);
            },
            "The hosts' interface language (\"French\" when the file names none); setting it saves the file.")
        .def_property(
            "conf_saved", [](const Config&) { return config().getConfSaved(); },
            [](const Config&, bool saved) { config().setConfSaved(saved); },
            "Whether the camera's live settings are stored in its preset: a camera change clears it, "
            "save_user_settings() and reset_user_settings() set it.")
        .def_property(
            "record_conf_saved", [](const Config&) { return config().getRecordConfSaved(); },
            [](const Config&, bool saved) { config().setRecordConfSaved(saved); },
            "Whether the recording settings are stored.")
        .def_property_readonly(
            "has_recording_settings", [](const Config&) { return config().isUserRecordingDefined(); },
            "Whether the file holds any recording setting.")
        .def(
            "save_recording_settings",
            [](const Config&, double length, double frameRate, double maxSize, long long replayFrameRate) {
                requireSettingsWritable("save the recording settings");
                config().saveUserRecordSettings(length, frameRate, maxSize,
                                                whole(replayFrameRate, "replay_frame_rate"));
            },
            py::arg("length"), py::arg("frame_rate"), py::arg("max_size"), py::arg("replay_frame_rate"),
            "Stores the four recording settings (fractions dropped) and sets record_conf_saved.")
        .def(
            "reset_recording_settings",
            [](const Config&) {
                requireSettingsWritable("delete the recording settings");
                config().resetUserRecordSettings();
            },
            "Removes the recording settings and sets record_conf_saved.")
        .def(
            "factory", [](const Config&, const std::string& camera) { return factory(camera); }, py::arg("camera"),
            "The factory values of a camera model as a dict (master_gain is -1 when its gain is automatic).")
        .def(
            "has_preset", [](const Config&, const std::string& camera) { return config().isUserDefined(camera); },
            py::arg("camera"), "Whether a user preset is stored for the camera model.")
        .def(
            "preset", [](const Config&, const std::string& camera) { return preset(camera); }, py::arg("camera"),
            "The stored preset values of a camera model as a dict; a value not stored is left out.")
        .def(
            "set_preset",
            [](const Config&, const std::string& camera, const py::kwargs& values) {
                requireSettingsWritable("save the user preset");
                setPreset(camera, values);
            },
            py::arg("camera"),
            "Stores preset values by keyword: master_gain, red_gain, green_gain, blue_gain, auto_gain, brightness, "
            "exposure, frame_rate, and width with height. Each saves the file.")
        .def(
            "clear_preset",
            [](const Config&, const std::string& camera) {
                requireSettingsWritable("delete the user preset");
                config().clearUserSettings(camera);
            },
            py::arg("camera"), "Removes the user preset of a camera model: the next open applies the factory values.");
    recordingValue<&nm::Config::getAviUserLength, &nm::Config::setAviUserLength>(
        view, "recording_length", "Stored recording length, seconds (0: none).");
    recordingValue<&nm::Config::getAviUserFrameRate, &nm::Config::setAviUserFrameRate>(
        view, "recording_frame_rate", "Stored recording frame rate (0: none).");
    recordingValue<&nm::Config::getAviUserMaxSize, &nm::Config::setAviUserMaxSize>(
        view, "recording_max_size", "Stored size limit, megabytes (0: none).");
    recordingValue<&nm::Config::getAviUserReplayFrameRate, &nm::Config::setAviUserReplayFrameRate>(
        view, "recording_replay_frame_rate", "Stored replay frame rate (0: none).");
    module.def(
        "config",
        [] {
            ensureSettingsLoaded();
            return Config{};
        },
        R"(The configuration store (nimbrel_model.Config), loaded from the per-user settings folder unless open()
loaded another.)");
}

}  // namespace nimbrel_python
