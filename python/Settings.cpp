#include "Settings.h"

#include "Errors.h"
#include "SettingsFolder.h"
#include "SettingsLock.h"

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

namespace nimbrel_python {

namespace {

bool loaded = false;

host::SettingsLock& lock() {
    static host::SettingsLock held;
    return held;
}

std::string configFile() { return Qel::HelperFuncs::getAppDir().str() + "res/config.xml"; }

// The folder of this extension module's own file.
std::string extensionFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&loadSettings), &info) == 0 || !info.dli_fname) return "";
    return std::filesystem::path(info.dli_fname).parent_path().string() + "/";
}

// The shipped file: the copy the build puts beside the extension, then the
// installed one as seen from lib/python3/dist-packages/nimbrel_model.
std::vector<std::string> shippedConfigs() {
    const std::string here = extensionFolder();
    return {here + "nimbrel-model/config.xml", here + "../../../../share/nimbrel-model/config.xml"};
}

}  // namespace

std::string loadSettings(const std::optional<std::string>& appDir) {
    std::string folder;
    try {
        folder = appDir ? std::filesystem::absolute(*appDir).string() : host::userSettings(shippedConfigs()).path;
    } catch (const std::runtime_error& error) {
        raiseCameraError(error.what());
    }
    Qel::HelperFuncs::setAppDir(Qel::Strings::hstring(folder));
    lock() = host::SettingsLock();
    lock() = host::SettingsLock(configFile(), host::programName());
    Nimbrel_model::Config::getInstance()->load();
    loaded = true;
    return Qel::HelperFuncs::getAppDir().str();
}

void ensureSettingsLoaded() {
    if (!loaded) loadSettings(std::nullopt);
}

bool settingsReadOnly() { return lock().readOnly(); }

void releaseSettings() { lock() = host::SettingsLock(); }

void requireSettingsWritable(const std::string& action) {
    ensureSettingsLoaded();
    if (!lock().held()) {
        lock() = host::SettingsLock(configFile(), host::programName());
        // What another process saved meanwhile is the base of this change.
        if (lock().held()) Nimbrel_model::Config::getInstance()->load();
    }
    try {
        lock().requireWritable(action);
    } catch (const std::runtime_error& error) {
        raiseCameraError(error.what());
    }
}

}  // namespace nimbrel_python
