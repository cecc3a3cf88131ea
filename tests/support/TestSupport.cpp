#include "TestSupport.h"

#include <Qel/Qel.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/stopwatch.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef NIMBREL_SOURCE_DIR
#define NIMBREL_SOURCE_DIR ""
#endif

namespace testsupport {

namespace fs = std::filesystem;

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
    wxEventLoopBase* running = wxEventLoopBase::GetActive();
    wxEventLoop own;
    wxEventLoopActivator activate(running ? running : &own);
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    wxStopWatch watch;
    while (!done()) {
        if (watch.Time() >= timeoutMs) return done();
        loop->DispatchTimeout(5);
        if (wxTheApp) wxTheApp->ProcessPendingEvents();
    }
    return true;
}

void pumpFor(int ms) {
    wxStopWatch watch;
    pumpUntil([&] { return watch.Time() >= ms; }, ms + 1000);
}

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "nimbrel-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
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

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << text;
}

bool fileExists(const std::string& path) { return fs::exists(path); }

long long fileSize(const std::string& path) {
    std::error_code error;
    auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

std::string shippedConfig() { return readFile(std::string(NIMBREL_SOURCE_DIR) + "/res/config.xml"); }

std::string runCommand(const std::string& command, int* status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    int rc = pclose(pipe);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

}  // namespace testsupport
