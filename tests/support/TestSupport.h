// The wx part of the test support: the event loop, the configuration's
// application folder. Files and processes come with it.
#pragma once

#include <functional>
#include <string>

#include "Files.h"
#include "Process.h"

namespace testsupport {

// Runs the wx event loop (timers, pending events) until `done` holds or
// `timeoutMs` of wall-clock time passed. Returns done().
bool pumpUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for `ms` milliseconds.
void pumpFor(int ms);

// An application folder for the configuration store: a TempDir holding
// res/config.xml (the shipped one, or `xml` when given), made the helper
// library's application folder for the scope.
class AppDir {
public:
    AppDir();
    explicit AppDir(const std::string& xml);
    ~AppDir();
    const std::string& path() const { return dir_.path(); }
    std::string configPath() const { return dir_.path() + "res/config.xml"; }
    std::string readConfig() const;
    void writeConfig(const std::string& xml) const;

private:
    TempDir dir_;
};

// The shipped configuration file's text.
std::string shippedConfig();

}  // namespace testsupport
