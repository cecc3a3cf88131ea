// Temporary folders and whole files, for every test program (no wxWidgets).
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with its
// contents at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }  // ends in '/'
    std::string file(const std::string& name) const { return path_ + name; }
    // Names in the folder, sorted, hidden ones included.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& text);
bool fileExists(const std::string& path);
long long fileSize(const std::string& path);  // -1 without the file

// The lines of a text, without their line ends.
std::vector<std::string> lines(const std::string& text);
// The first line that starts with `prefix`, after the first line that
// contains `after` when one is given; empty if none.
std::string lineStarting(const std::string& text, const std::string& prefix, const std::string& after = "");

}  // namespace testsupport
