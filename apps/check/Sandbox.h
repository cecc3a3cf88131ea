// The checker never writes the integrator's configuration: it copies
// res/config.xml into a temporary application folder, points the module
// there, and removes the folder at the end.
#pragma once

#include <string>

namespace check {

class Sandbox {
public:
    // Copies `appDir`/res/config.xml; std::runtime_error when it cannot be read.
    explicit Sandbox(const std::string& appDir);
    ~Sandbox();  // the module's application folder and the disk as before
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // The temporary folder, ending in '/': a place for the checks' files too.
    const std::string& folder() const { return folder_; }
    const std::string& originalPath() const { return originalPath_; }
    // The copy the module works on.
    std::string copyPath() const { return folder_ + "res/config.xml"; }
    // Puts the integrator's content back into the copy and loads it again.
    void resetCopy() const;
    // The integrator's file still holds what it held at the start.
    bool originalUnchanged() const;
    // "" while the copy holds the integrator's content byte for byte, else
    // the first line that differs.
    std::string copyDifference() const;
    // The copy's bytes as they are now, and a new content for it.
    std::string copyText() const;
    void setCopyText(const std::string& bytes) const;

private:
    std::string originalPath_;
    std::string originalBytes_;
    std::string folder_;
    std::string previousAppDir_;
};

}  // namespace check
