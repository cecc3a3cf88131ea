#include "SettingsFolder.h"

#include <Qel/Qel.h>

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace host {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolderName = "nimbrel-model/";
constexpr const char* kConfig = "res/config.xml";

std::string withSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Through a temporary file and a rename: a copy cut short by a kill or a
// full disk never stands as a settings file.
void writeWhole(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".new";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    std::error_code error;
    if (!out || (fs::rename(temporary, path, error), error)) {
        const std::string reason = error ? error.message() : std::strerror(errno);
        fs::remove(temporary, error);
        throw std::runtime_error("cannot write " + path + ": " + reason);
    }
}

}  // namespace

std::string userSettingsFolder() {
    const std::string xdg = environment("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') return withSlash(xdg) + kFolderName;
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) home = entry->pw_dir;
    }
    if (home.empty() || home.front() != '/')
        throw std::runtime_error("no folder for the user's settings: neither XDG_CONFIG_HOME nor HOME is set");
    return withSlash(home) + ".config/" + kFolderName;
}

SettingsFolder userSettings(const std::vector<std::string>& shipped) {
    SettingsFolder folder{userSettingsFolder(), true, {}, {}};
    const std::string config = folder.path + kConfig;
    std::error_code error;
    if (fs::exists(config, error)) return folder;

    std::string bytes;
    std::string from;
    for (const std::string& candidate : shipped) {
        if (readRegularFile(candidate, bytes)) {
            from = candidate;
            break;
        }
    }
    if (from.empty()) {
        std::string tried;
        for (const std::string& candidate : shipped) tried += (tried.empty() ? "" : ", ") + candidate;
        throw std::runtime_error("cannot create " + config + ": no shipped settings file to copy (looked for " +
                                 (tried.empty() ? std::string("none") : tried) + ")");
    }
    fs::create_directories(folder.path + "res", error);
    if (error) throw std::runtime_error("cannot create " + folder.path + "res: " + error.message());
    writeWhole(config, bytes);
    folder.seededFrom = from;
    return folder;
}

std::vector<std::string> shippedConfigs(const std::string& programDir) {
    const std::string dir = withSlash(programDir);
    // Beside the tool (a build tree), then the packaged copy as seen from
    // bin/ and from lib/nimbrel-model/.
    return {dir + kConfig, dir + "../share/nimbrel-model/config.xml", dir + "../../share/nimbrel-model/config.xml"};
}

SettingsFolder chooseSettingsFolder(const std::optional<std::string>& explicitDir, const std::string& programDir) {
    if (explicitDir) return {withSlash(*explicitDir), false, {}, {}};
    const std::string own = withSlash(programDir);
    std::string why;
    if (access((own + kConfig).c_str(), R_OK) != 0) {
        why = "there is no readable " + own + kConfig + " beside the program";
    } else if (access((own + "res").c_str(), W_OK) != 0) {
        const int error = errno;
        why = own + "res cannot be written: " + std::strerror(error);
    } else {
        return {own, false, {}, {}};
    }
    SettingsFolder folder = userSettings(shippedConfigs(own));
    folder.whyPerUser = why;
    return folder;
}

SettingsFolder useSettingsFolder(const std::optional<std::string>& explicitDir) {
    Qel::HelperFuncs::setAppDir("");
    SettingsFolder folder = chooseSettingsFolder(explicitDir, Qel::HelperFuncs::getAppDir().str());
    Qel::HelperFuncs::setAppDir(Qel::Strings::hstring(folder.path));
    return folder;
}

std::string seededNotice(const SettingsFolder& folder) {
    if (folder.seededFrom.empty()) return "";
    return "settings: created " + folder.path + kConfig + " from " + folder.seededFrom +
           (folder.whyPerUser.empty() ? "" : " (" + folder.whyPerUser + ")");
}

bool readRegularFile(const std::string& path, std::string& bytes) {
    // Only a regular file: opening a FIFO would block until a writer came.
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
    return !in.bad();
}

}  // namespace host
