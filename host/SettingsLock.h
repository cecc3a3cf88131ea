// One writer per settings file. Every process that may save the file writes
// its whole document back, so two of them saving at once lose one's values.
// A process that may save takes an advisory lock (flock) on a file beside
// the settings file for as long as it has the file loaded; one that finds the
// lock taken works read-only, and its saves fail naming the holder instead of
// overwriting what the holder saves. The lock goes with the process, also
// when it is killed.
#pragma once

#include <string>

namespace host {

class SettingsLock {
public:
    // Unlocked: no settings file held.
    SettingsLock() = default;
    // Locks `configFile` + ".lock" for `program`. When the lock file cannot
    // be made (a folder without write access) nothing is locked and the file
    // counts as writable: its saves fail on their own.
    SettingsLock(const std::string& configFile, const std::string& program);
    ~SettingsLock();
    SettingsLock(SettingsLock&& other) noexcept;
    SettingsLock& operator=(SettingsLock&& other) noexcept;
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

    bool readOnly() const { return readOnly_; }
    // Whether this process holds the lock now.
    bool held() const { return fd_ >= 0; }
    // "nimbrel-viewer (pid 1234)", or "another process" when it wrote no name.
    const std::string& holder() const { return holder_; }
    const std::string& configFile() const { return configFile_; }
    // One line for the user when read-only, else "".
    std::string readOnlyNotice() const;
    // std::runtime_error "cannot <action>: <file> is in use by <holder>..."
    // when read-only.
    void requireWritable(const std::string& action) const;

private:
    void release();

    std::string configFile_;
    int fd_ = -1;
    bool readOnly_ = false;
    std::string holder_;
};

// The settings lock of a tool, held for the whole run.
SettingsLock& toolSettingsLock();

// The name of the running program, as its command line gave it.
std::string programName();

}  // namespace host
