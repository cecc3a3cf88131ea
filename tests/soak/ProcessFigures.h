// What the running process holds, read from /proc/self.
#pragma once

#include <string>

namespace soak {

struct ProcessFigures {
    long long residentBytes = 0;  // resident set, from /proc/self/statm
    int openFiles = 0;            // entries of /proc/self/fd
    int threads = 0;              // entries of /proc/self/task

    static ProcessFigures now();
    std::string describe() const;
};

}  // namespace soak
