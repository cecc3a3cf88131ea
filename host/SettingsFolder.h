// Where a host keeps res/config.xml. A tool uses the folder beside it while
// that folder's res/ can be written (a build tree, a private install). An
// installed tool, whose folder belongs to the system, uses a folder of the
// user's own instead, seeded from the shipped file on first use, so that a
// normal user can save and an upgrade never overwrites what was saved. The
// shipped file itself is never written.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct SettingsFolder {
    std::string path;        // ends in '/'; res/config.xml lies below it
    bool perUser = false;    // the user's own folder
    std::string seededFrom;  // the shipped file copied there just now, if any
    std::string whyPerUser;  // why the folder beside the program was not used
};

// $XDG_CONFIG_HOME/nimbrel-model/ when that variable holds an absolute path,
// else $HOME/.config/nimbrel-model/ (the password database's home when HOME
// is unset). std::runtime_error when no home is known.
std::string userSettingsFolder();

// The user's folder, with res/config.xml copied from the first readable file
// of `shipped` when it holds none yet. std::runtime_error naming the folder
// or file that could not be made, or listing the candidates when none reads.
SettingsFolder userSettings(const std::vector<std::string>& shipped);

// Where the shipped file of a tool in `programDir` may be: beside it, then
// where the packages install it.
std::vector<std::string> shippedConfigs(const std::string& programDir);

// For a tool in `programDir`: `explicitDir` when given; else programDir while
// its res/config.xml exists and its res/ can be written; else userSettings.
SettingsFolder chooseSettingsFolder(const std::optional<std::string>& explicitDir, const std::string& programDir);

// chooseSettingsFolder for the running executable, made the helper
// library's application folder (where Config::load reads).
SettingsFolder useSettingsFolder(const std::optional<std::string>& explicitDir);

// One line for the user when a folder of their own was just created.
std::string seededNotice(const SettingsFolder& folder);

// The whole of a regular file into `bytes`; false for anything else (a FIFO,
// a device, a folder) or when it cannot be read.
bool readRegularFile(const std::string& path, std::string& bytes);

}  // namespace host
