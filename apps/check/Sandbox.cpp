#include "Sandbox.h"

#include "SettingsFolder.h"

#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace check {

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxSettingsBytes = 64ull * 1024 * 1024;

const char* kindOf(fs::file_type type) {
    switch (type) {
        case fs::file_type::directory: return "a directory";
        case fs::file_type::fifo: return "a FIFO (named pipe)";
        case fs::file_type::character: return "a character device";
        case fs::file_type::block: return "a block device";
        case fs::file_type::socket: return "a socket";
        default: return "not a regular file";
    }
}

// Looked at without opening it: opening a FIFO blocks until a writer comes,
// and a device never ends.
void refuseNonSettings(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) throw std::runtime_error("cannot read " + path + ": " + error.message());
    if (!fs::is_regular_file(status))
        throw std::runtime_error("cannot read " + path + ": it is " + kindOf(status.type()) + ", not a regular file");
    if (fs::file_size(path, error) > kMaxSettingsBytes)
        throw std::runtime_error("cannot read " + path + ": it is larger than the 64 MiB a settings file may have");
}

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string makeTemporaryFolder() {
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::string pattern = (base / "nimbrel-check.XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data())) throw std::runtime_error("cannot create a temporary folder in " + base.string());
    return std::string(name.data()) + "/";
}

}  // namespace

Sandbox::Sandbox(const std::string& appDir) : previousAppDir_(Qel::HelperFuncs::getAppDir().str()) {
    std::string dir = appDir.empty() ? previousAppDir_ : appDir;
    if (dir.back() != '/') dir += '/';
    originalPath_ = dir + "res/config.xml";
    refuseNonSettings(originalPath_);
    if (!host::readRegularFile(originalPath_, originalBytes_)) throw std::runtime_error("cannot read " + originalPath_);
    folder_ = makeTemporaryFolder();
    std::filesystem::create_directory(folder_ + "res");
    writeAll(folder_ + "res/config.xml", originalBytes_);
    Qel::HelperFuncs::setAppDir(Qel::Strings::hstring(folder_));
}

Sandbox::~Sandbox() {
    Qel::HelperFuncs::setAppDir(Qel::Strings::hstring(previousAppDir_));
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void Sandbox::resetCopy() const {
    writeAll(folder_ + "res/config.xml", originalBytes_);
    Nimbrel_model::Config::getInstance()->load();
}

std::string Sandbox::copyText() const {
    std::string bytes;
    const std::string path = folder_ + "res/config.xml";
    if (!host::readRegularFile(path, bytes)) throw std::runtime_error("cannot read " + path);
    return bytes;
}

void Sandbox::setCopyText(const std::string& bytes) const { writeAll(folder_ + "res/config.xml", bytes); }

std::string Sandbox::copyDifference() const {
    const std::string now = copyText();
    if (now == originalBytes_) return {};
    const auto mismatch = std::mismatch(now.begin(), now.end(), originalBytes_.begin(), originalBytes_.end());
    const auto line = 1 + std::count(now.begin(), mismatch.first, '\n');
    return "line " + std::to_string(line) + " differs (" + std::to_string(now.size()) + " bytes, " +
           std::to_string(originalBytes_.size()) + " before)";
}

bool Sandbox::originalUnchanged() const {
    std::string now;
    return host::readRegularFile(originalPath_, now) && now == originalBytes_;
}

}  // namespace check
