// Where the binding's configuration lives: the folder the caller names, or
// the per-user settings folder of the installed tools, seeded from the
// shipped file on first use. Never the Python executable's folder, which the
// helper library would take by default.
#pragma once

#include <optional>
#include <string>

namespace nimbrel_python {

// Makes `appDir` (or the user's folder) the module's application folder and
// loads its res/config.xml. Returns the folder. CameraError when the folder
// cannot be made or the file read.
std::string loadSettings(const std::optional<std::string>& appDir);

// Loads the user's folder unless loadSettings() already ran.
void ensureSettingsLoaded();

// One writer per settings file: loadSettings() locks it, or finds it locked
// by another process and leaves it read-only. releaseSettings() drops the
// lock (at close); a later change takes it again, the file read afresh.
bool settingsReadOnly();
void releaseSettings();
// CameraError naming the process that holds the file, when it is read-only.
void requireSettingsWritable(const std::string& action);

}  // namespace nimbrel_python
