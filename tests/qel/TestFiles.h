// Scratch folders and whole-file helpers for the Qel tests.
#pragma once

#include <string>
#include <vector>

namespace qeltest {

// A fresh folder under the system's temporary folder, removed with all its
// content when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir();

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;
    // Names in the folder, sorted, without "." and "..".
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
std::vector<std::string> lines(const std::string& text);

}  // namespace qeltest
