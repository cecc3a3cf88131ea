// A throw-away application folder holding the shipped configuration, on the
// ordinary temporary disk (saves are synced to it), loaded into Config.
#pragma once

#include <string>

namespace lifecyclebench {

class AppFolder {
public:
    AppFolder();
    ~AppFolder();
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

private:
    std::string path_;
};

}  // namespace lifecyclebench
