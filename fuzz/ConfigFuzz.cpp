// The configuration store on any file: arbitrary bytes as res/config.xml,
// loaded, then every read and one write, picked by the input, on a few
// camera names; a file that does not load gets one call, picked, refused. Qel::Exception is the store's way of
// refusing; anything else (a crash, a sanitizer report, a value that does not read back as it was written) is a
// finding.
#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include "ConfigElements.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Nimbrel_model::Config;
using hstring = Qel::Strings::hstring;

std::string appFolder;

// Saves sync the file: a folder in memory keeps the fuzzer fast.
void makeAppFolder() {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
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

// Plain calls: a stream per case cost as much as the load itself.
void writeConfigFile(const std::uint8_t* data, std::size_t size) {
    static const std::string path = appFolder + "res/config.xml";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote <= 0) std::abort();
        done += static_cast<std::size_t>(wrote);
    }
    ::close(fd);
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
    for (const auto& factory : configelements::kFactory) attempt([&] { factory.read(c, camera); });
    attempt([&] { c.isUserDefined(camera); });
    double value = 0.0;
    for (const auto& user : configelements::kUser) attempt([&] { user.read(c, camera, value); });
}

// Operations picked by the input (a hash of it, so that any change of the
// file picks afresh): a throw or a save costs far more than a read here.
class Picks {
public:
    explicit Picks(const std::string& input) : state_(std::hash<std::string>{}(input)) {}
    std::size_t next(std::size_t choices) {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<std::size_t>(state_ >> 33) % choices;
    }

private:
    std::uint64_t state_;
};

// One user value written, which then reads back as written (whole numbers are
// stored as 32-bit ints, clamped), or the preset cleared.
void writeAndReadBack(Config& c, const hstring& camera, std::size_t pick, long whole, double real) {
    if (pick == std::size(configelements::kUser)) {
        attempt([&] { c.clearUserSettings(camera); });
        attempt([&] { check(!c.isUserDefined(camera)); });
        return;
    }
    const auto& user = configelements::kUser[pick];
    const std::string name = user.name;
    const double value = name == "UserExposure" || name == "UserFramerate" ? real
                         : name == "UserAutoGain"                          ? double(whole % 2 != 0)
                                                  : double(std::clamp<long>(whole, INT_MIN / 2, INT_MAX / 2));
    attempt([&] {
        user.write(c, camera, value);
        double back = value + 1.0;
        check(user.read(c, camera, back) && back == value);
    });
}

// A camera the document lacks: every accessor refuses it alike, so one of
// them, picked, is enough per case.
void refuse(Config& c, const hstring& camera, std::size_t pick) {
    using namespace configelements;
    double value = 0.0;
    if (pick < std::size(kFactory)) return attempt([&] { kFactory[pick].read(c, camera); });
    pick -= std::size(kFactory);
    if (pick < std::size(kUser)) return attempt([&] { kUser[pick].read(c, camera, value); });
    pick -= std::size(kUser);
    if (pick < std::size(kUser)) return attempt([&] { kUser[pick].write(c, camera, value); });
    attempt([&] { c.clearUserSettings(camera); });
}

// The recording settings and the language: reads by index, and writes, one
// picked, each read back.
const std::size_t kRecordingReads = std::size(configelements::kRecording) + 2;
const std::size_t kRecordingWrites = std::size(configelements::kRecording) + 3;

void recordingRead(Config& c, std::size_t pick) {
    if (pick < std::size(configelements::kRecording))
        return attempt([&] { (c.*configelements::kRecording[pick].read)(); });
    if (pick == std::size(configelements::kRecording)) return attempt([&] { c.isUserRecordingDefined(); });
    attempt([&] { c.getLanguage(); });
}

void recordingWrite(Config& c, std::size_t pick, long whole) {
    if (pick < std::size(configelements::kRecording)) {
        const auto& setting = configelements::kRecording[pick];
        return attempt([&] {
            (c.*setting.write)(whole);
            check((c.*setting.read)() == std::clamp<long>(whole, INT_MIN, INT_MAX));
        });
    }
    switch (pick - std::size(configelements::kRecording)) {
        case 0: return attempt([&] { c.saveUserRecordSettings(10.0, 25.0, 100.0, whole); });
        case 1:
            return attempt([&] {
                c.resetUserRecordSettings();
                check(!c.isUserRecordingDefined());
            });
        default:
            return attempt([&] {
                c.setLanguage("English");
                check(c.getLanguage() == "English");
            });
    }
}

const std::size_t kPerCameraCalls = std::size(configelements::kFactory) + 2 * std::size(configelements::kUser) + 1;

// Nothing loaded: the document is empty and every call refuses alike, so one
// call per case, picked, covers them all over a run. Most mutated files do
// not parse, and refusing each of them everything cost most of the time.
void refuseUnloaded(Config& c, const hstring& camera, Picks& picks, long whole) {
    std::size_t pick = picks.next(kPerCameraCalls + kRecordingReads + kRecordingWrites);
    if (pick < kPerCameraCalls) return refuse(c, camera, pick);
    pick -= kPerCameraCalls;
    if (pick < kRecordingReads) return recordingRead(c, pick);
    recordingWrite(c, pick - kRecordingReads, whole);
}

// Loaded: every value of every camera it names is read, and then one value
// written, picked, since each write saves the whole file.
void readAndWrite(Config& c, const hstring (&names)[3], Picks& picks, long whole, double real) {
    std::vector<hstring> known;
    for (const hstring& camera : names) {
        bool named = true;
        attempt([&] {
            named = false;
            c.isUserDefined(camera);
            named = true;
        });
        if (!named) {
            if (!camera.empty()) refuse(c, camera, picks.next(kPerCameraCalls));
            continue;
        }
        readEverything(c, camera);
        known.push_back(camera);
    }
    for (std::size_t i = 0; i < kRecordingReads; ++i) recordingRead(c, i);
    const std::size_t userWrites = std::size(configelements::kUser) + 1;
    const std::size_t pick = picks.next(known.size() * userWrites + kRecordingWrites);
    if (pick < known.size() * userWrites)
        writeAndReadBack(c, known[pick / userWrites], pick % userWrites, whole, real);
    else
        recordingWrite(c, pick - known.size() * userWrites, whole);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (makeAppFolder(), true);
    // A Config as the host has it before loading anything.
    static const Config pristine(*Config::getInstance());
    (void)ready;

    const std::string xml(reinterpret_cast<const char*>(data), size);
    writeConfigFile(data, size);
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
    Picks picks(xml);
    if (loaded)
        readAndWrite(c, names, picks, value, real);
    else
        refuseUnloaded(c, names[picks.next(2)], picks, value);
    c.setConfSaved(false);
    c.setRecordConfSaved(!c.getRecordConfSaved());
    // Freed within the case: a document kept to the next one would unbalance
    // its allocations and send every case to the fuzzer's leak check.
    c = pristine;
    return 0;
}
