#include "TestSupport.h"

#include "EventPump.h"

#include <Qel/Qel.h>
#include <wx/stopwatch.h>

#include <filesystem>

#ifndef NIMBREL_SOURCE_DIR
#define NIMBREL_SOURCE_DIR ""
#endif

namespace testsupport {

namespace fs = std::filesystem;

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
    host::EventPump pump({}, std::chrono::milliseconds(5));
    return pump.runUntil(done, std::chrono::milliseconds(timeoutMs));
}

void pumpFor(int ms) {
    wxStopWatch watch;
    pumpUntil([&] { return watch.Time() >= ms; }, ms + 1000);
}

AppDir::AppDir() : AppDir(shippedConfig()) {}

AppDir::AppDir(const std::string& xml) {
    fs::create_directories(dir_.path() + "res");
    writeConfig(xml);
    Qel::HelperFuncs::setAppDir(dir_.path());
}

AppDir::~AppDir() { Qel::HelperFuncs::setAppDir(""); }

std::string AppDir::readConfig() const { return readFile(configPath()); }
void AppDir::writeConfig(const std::string& xml) const { writeFile(configPath(), xml); }

std::string shippedConfig() { return readFile(std::string(NIMBREL_SOURCE_DIR) + "/res/config.xml"); }

}  // namespace testsupport
