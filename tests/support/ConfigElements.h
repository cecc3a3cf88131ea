// Every element of the configuration file with the Config members that read and
// write it: one list for the configuration tests and the configuration fuzz
// target. Values travel as doubles (whole numbers and booleans as 0/1 fit).
#pragma once

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

namespace configelements {

using Nimbrel_model::Config;
using Camera = Qel::Strings::hstring;

// A factory value of a camera element; message 64 when missing or unreadable.
struct Factory {
    const char* name;
    double (*read)(const Config&, const Camera&);
};

// In the order of the shipped file.
inline const Factory kFactory[] = {
    {"MasterGain", [](const Config& c, const Camera& n) { return double(c.getMasterGain(n)); }},
    {"RedGain", [](const Config& c, const Camera& n) { return double(c.getRedGain(n)); }},
    {"GreenGain", [](const Config& c, const Camera& n) { return double(c.getGreenGain(n)); }},
    {"BlueGain", [](const Config& c, const Camera& n) { return double(c.getBlueGain(n)); }},
    {"AutoGain", [](const Config& c, const Camera& n) { return double(c.getAutoGain(n)); }},
    {"Brightness", [](const Config& c, const Camera& n) { return double(c.getBrightness(n)); }},
    {"Exposure", [](const Config& c, const Camera& n) { return c.getExposure(n); }},
    {"Clock", [](const Config& c, const Camera& n) { return double(c.getClock(n)); }},
    {"Gamma", [](const Config& c, const Camera& n) { return double(c.getGamma(n)); }},
    {"BLEnable", [](const Config& c, const Camera& n) { return double(c.getBLEnable(n)); }},
    {"BlackLevel", [](const Config& c, const Camera& n) { return double(c.getBlackLevel(n)); }},
    {"ColorMode", [](const Config& c, const Camera& n) { return double(c.getColorMode(n)); }},
    {"ColorCorrection", [](const Config& c, const Camera& n) { return double(c.getColorCorrection(n)); }},
};

// A value of the user preset: read gives false when absent or unreadable and
// leaves `value` alone then. The sizes are one pair: write sets the height to
// twice the width, read gives the width once both are usable.
struct User {
    const char* name;
    bool (*read)(const Config&, const Camera&, double& value);
    void (*write)(Config&, const Camera&, double value);
};

template <typename T, bool (Config::*get)(const Camera&, T&) const>
bool readAs(const Config& c, const Camera& n, double& value) {
    T read{};
    if (!(c.*get)(n, read)) return false;
    value = static_cast<double>(read);
    return true;
}

inline const User kUser[] = {
    {"UserMasterGain", readAs<long, &Config::getUserMasterGain>,
     [](Config& c, const Camera& n, double v) { c.setUserMasterGain(n, long(v)); }},
    {"UserRedGain", readAs<long, &Config::getUserRedGain>,
     [](Config& c, const Camera& n, double v) { c.setUserRedGain(n, long(v)); }},
    {"UserGreenGain", readAs<long, &Config::getUserGreenGain>,
     [](Config& c, const Camera& n, double v) { c.setUserGreenGain(n, long(v)); }},
    {"UserBlueGain", readAs<long, &Config::getUserBlueGain>,
     [](Config& c, const Camera& n, double v) { c.setUserBlueGain(n, long(v)); }},
    {"UserAutoGain", readAs<bool, &Config::getUserAutoGain>,
     [](Config& c, const Camera& n, double v) { c.setUserAutoGain(n, v != 0); }},
    {"UserBrightness", readAs<long, &Config::getUserBrightness>,
     [](Config& c, const Camera& n, double v) { c.setUserBrightness(n, long(v)); }},
    {"UserExposure", readAs<double, &Config::getUserExposure>,
     [](Config& c, const Camera& n, double v) { c.setUserExposure(n, v); }},
    {"UserFramerate", readAs<double, &Config::getUserFramerate>,
     [](Config& c, const Camera& n, double v) { c.setUserFramerate(n, v); }},
    {"UserWidth",
     [](const Config& c, const Camera& n, double& value) {
         int width = 0, height = 0;
         if (!c.getUserSizes(n, width, height) || height != 2 * width) return false;
         value = width;
         return true;
     },
     [](Config& c, const Camera& n, double v) { c.setUserSizes(n, int(v), 2 * int(v)); }},
};

// A recording setting under the root; reads 0 when absent.
struct Recording {
    const char* name;
    long (Config::*read)() const;
    void (Config::*write)(const long&);
};

inline const Recording kRecording[] = {
    {"AviUserLength", &Config::getAviUserLength, &Config::setAviUserLength},
    {"AviUserFrameRate", &Config::getAviUserFrameRate, &Config::setAviUserFrameRate},
    {"AviUserMaxSize", &Config::getAviUserMaxSize, &Config::setAviUserMaxSize},
    {"AviUserReplayFrameRate", &Config::getAviUserReplayFrameRate, &Config::setAviUserReplayFrameRate},
};

// The cameras of the shipped file.
inline const char* const kShippedCameras[] = {"SIM1280-C", "SIM1280-M", "SIM2592-C",
                                              "SIM4912-M", "SIM1284-C", "SIM1284-M"};

}  // namespace configelements
