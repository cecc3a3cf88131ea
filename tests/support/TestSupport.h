// Shared helpers of the test programs: wx set-up, the event loop, temporary
// folders and files.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

// Runs the wx event loop (timers, pending events) until `done` holds or
// `timeoutMs` of wall-clock time passed. Returns done().
bool pumpUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for `ms` milliseconds.
void pumpFor(int ms);

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }  // ends in '/'
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

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

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
bool fileExists(const std::string& path);
long long fileSize(const std::string& path);

// The shipped configuration file's text.
std::string shippedConfig();

// Runs a command through the shell, returns its standard output; `status`
// receives the exit status.
std::string runCommand(const std::string& command, int* status = nullptr);

}  // namespace testsupport
