// The configuration store on any file: arbitrary bytes as res/config.xml,
// loaded, then every Config operation on a few camera names. Qel::Exception is
// the store's way of refusing; anything else (a crash, a sanitizer report, a
// value that does not read back as it was written) is a finding.
#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

using Nimbrel_model::Config;
using hstring = Qel::Strings::hstring;

std::string appFolder;

// Saves sync the file: a folder in memory keeps the fuzzer fast.
void makeAppFolder() {
    const std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string pattern = (base / "nimbrel-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    appFolder = pattern + "/";
    std::filesystem::create_directories(appFolder + "res");
    Qel::HelperFuncs::setAppDir(appFolder);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(appFolder, ignored);
    });
}

void attempt(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const Qel::Exception&) {
    }
}

// The name of the first camera element, as a host would get it from the sensor.
std::string firstCameraName(const std::string& xml) {
    const auto settings = xml.find("<CameraSettings>");
    if (settings == std::string::npos) return xml.substr(0, 16);
    auto open = xml.find('<', settings + 16);
    while (open != std::string::npos && xml.compare(open, 4, "<!--") == 0) open = xml.find('<', xml.find("-->", open));
    if (open == std::string::npos) return "";
    const auto end = xml.find_first_of("> /\t\r\n", open + 1);
    return xml.substr(open + 1, (end == std::string::npos ? xml.size() : end) - open - 1).substr(0, 64);
}

// Round trips are checked only on a loaded file: before any load the
// document is empty, and writes go nowhere by design.
bool loaded = false;

void check(bool holds) {
    if (loaded && !holds) std::abort();
}

void readEverything(Config& c, const hstring& camera) {
    attempt([&] { c.getMasterGain(camera); });
    attempt([&] { c.getRedGain(camera); });
    attempt([&] { c.getGreenGain(camera); });
    attempt([&] { c.getBlueGain(camera); });
    attempt([&] { c.getAutoGain(camera); });
    attempt([&] { c.getBrightness(camera); });
    attempt([&] { c.getExposure(camera); });
    attempt([&] { c.getClock(camera); });
    attempt([&] { c.getGamma(camera); });
    attempt([&] { c.getBLEnable(camera); });
    attempt([&] { c.getBlackLevel(camera); });
    attempt([&] { c.getColorMode(camera); });
    attempt([&] { c.getColorCorrection(camera); });
    attempt([&] { c.isUserDefined(camera); });
    long number = 0;
    bool flag = false;
    double real = 0.0;
    int width = 0, height = 0;
    attempt([&] { c.getUserMasterGain(camera, number); });
    attempt([&] { c.getUserRedGain(camera, number); });
    attempt([&] { c.getUserGreenGain(camera, number); });
    attempt([&] { c.getUserBlueGain(camera, number); });
    attempt([&] { c.getUserAutoGain(camera, flag); });
    attempt([&] { c.getUserBrightness(camera, number); });
    attempt([&] { c.getUserExposure(camera, real); });
    attempt([&] { c.getUserFramerate(camera, real); });
    attempt([&] { c.getUserSizes(camera, width, height); });
}

// A value written without complaint reads back as written.
void writeAndReadBack(Config& c, const hstring& camera, long value, double real) {
    attempt([&] {
        c.setUserMasterGain(camera, value);
        // Whole numbers are stored as 32-bit ints, clamped.
        const long stored = std::clamp<long>(value, INT_MIN, INT_MAX);
        long back = stored + 1;
        check(c.getUserMasterGain(camera, back) && back == stored);
    });
    attempt([&] { c.setUserRedGain(camera, value); });
    attempt([&] { c.setUserGreenGain(camera, 0); });
    attempt([&] { c.setUserBlueGain(camera, -1); });
    attempt([&] { c.setUserAutoGain(camera, value % 2 == 0); });
    attempt([&] { c.setUserBrightness(camera, value); });
    attempt([&] {
        c.setUserExposure(camera, real);
        double back = real + 1.0;
        check(c.getUserExposure(camera, back) && back == real);
    });
    attempt([&] { c.setUserFramerate(camera, 25.0); });
    attempt([&] {
        c.setUserSizes(camera, 640, 480);
        int width = 0, height = 0;
        check(c.getUserSizes(camera, width, height) && width == 640 && height == 480);
    });
    readEverything(c, camera);
    attempt([&] { c.clearUserSettings(camera); });
    attempt([&] { check(!c.isUserDefined(camera)); });
}

void recordingSettings(Config& c) {
    attempt([&] { c.getAviUserReplayFrameRate(); });
    attempt([&] { c.getAviUserMaxSize(); });
    attempt([&] { c.getAviUserFrameRate(); });
    attempt([&] { c.getAviUserLength(); });
    attempt([&] { c.isUserRecordingDefined(); });
    attempt([&] { c.setAviUserReplayFrameRate(30); });
    attempt([&] { c.setAviUserMaxSize(2048); });
    attempt([&] { c.setAviUserFrameRate(25); });
    attempt([&] {
        c.setAviUserLength(12);
        check(c.getAviUserLength() == 12);
    });
    attempt([&] { c.saveUserRecordSettings(10.0, 25.0, 100.0, 25); });
    attempt([&] { c.resetUserRecordSettings(); });
    attempt([&] { c.getLanguage(); });
    attempt([&] { c.setLanguage("English"); });
    attempt([&] { check(c.getLanguage() == "English"); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (makeAppFolder(), true);
    // A Config as the host has it before loading anything.
    static const Config pristine(*Config::getInstance());
    (void)ready;

    const std::string xml(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream file(appFolder + "res/config.xml", std::ios::binary | std::ios::trunc);
        file << xml;
    }
    Config& c = *Config::getInstance();
    c = pristine;
    loaded = false;
    attempt([&] {
        c.load();
        loaded = true;
    });

    const hstring names[] = {"SIM1280-C", firstCameraName(xml), ""};
    long value = 0;
    double real = 0.0;
    if (size >= sizeof value) std::memcpy(&value, data + size - sizeof value, sizeof value);
    if (size >= sizeof real) std::memcpy(&real, data, sizeof real);
    if (!std::isfinite(real)) real = 0.5;  // no decimal text for NaN or infinity
    for (const hstring& camera : names) {
        readEverything(c, camera);
        writeAndReadBack(c, camera, value, real);
    }
    recordingSettings(c);
    c.setConfSaved(false);
    c.setRecordConfSaved(!c.getRecordConfSaved());
    return 0;
}
