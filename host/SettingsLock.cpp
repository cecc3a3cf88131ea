#include "SettingsLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <utility>

namespace host {

namespace {

// What the holder wrote into the lock file, "PID PROGRAM", as "PROGRAM (pid
// PID)"; empty while it has written nothing.
std::string readHolder(int fd) {
    std::string text(256, '\0');
    const ssize_t got = pread(fd, text.data(), text.size() - 1, 0);
    if (got <= 0) return {};
    text.resize(static_cast<std::size_t>(got));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0')) text.pop_back();
    const auto space = text.find(' ');
    if (space == std::string::npos || space == 0) return {};
    return text.substr(space + 1) + " (pid " + text.substr(0, space) + ")";
}

}  // namespace

SettingsLock::SettingsLock(const std::string& configFile, const std::string& program) : configFile_(configFile) {
    const std::string path = configFile + ".lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0) return;
    // A holder writes its name right after it locks, and empties the file as
    // it lets go: an empty file means look again, for up to a second.
    for (int attempt = 0;; ++attempt) {
        if (flock(fd_, LOCK_EX | LOCK_NB) == 0) break;
        holder_ = readHolder(fd_);
        if (!holder_.empty() || attempt == 200) {
            if (holder_.empty()) holder_ = "another process";
            readOnly_ = true;
            ::close(fd_);
            fd_ = -1;
            return;
        }
        usleep(5000);
    }
    const std::string line = std::to_string(getpid()) + " " + program + "\n";
    if (ftruncate(fd_, 0) == 0 && pwrite(fd_, line.data(), line.size(), 0) < 0) {
        // The lock holds without the name; a reader says "another process".
    }
}

SettingsLock::~SettingsLock() { release(); }

SettingsLock::SettingsLock(SettingsLock&& other) noexcept
    : configFile_(std::move(other.configFile_)),
      fd_(std::exchange(other.fd_, -1)),
      readOnly_(other.readOnly_),
      holder_(std::move(other.holder_)) {}

SettingsLock& SettingsLock::operator=(SettingsLock&& other) noexcept {
    if (this != &other) {
        release();
        configFile_ = std::move(other.configFile_);
        fd_ = std::exchange(other.fd_, -1);
        readOnly_ = other.readOnly_;
        holder_ = std::move(other.holder_);
    }
    return *this;
}

void SettingsLock::release() {
    if (fd_ < 0) return;
    // Emptied first: a later reader that finds it unlocked names nobody.
    if (ftruncate(fd_, 0) != 0) {
    }
    ::close(fd_);
    fd_ = -1;
}

std::string SettingsLock::readOnlyNotice() const {
    if (!readOnly_) return "";
    return "settings: " + configFile_ + " is in use by " + holder_ + "; opened read-only, nothing is saved to it";
}

void SettingsLock::requireWritable(const std::string& action) const {
    if (!readOnly_) return;
    throw std::runtime_error("cannot " + action + ": " + configFile_ + " is in use by " + holder_ +
                             ", which may save it too; this one opened it read-only");
}

SettingsLock& toolSettingsLock() {
    static SettingsLock lock;
    return lock;
}

std::string programName() {
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "process" : name;
}

}  // namespace host
