#include "ProcessFigures.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace soak {

namespace {

int countEntries(const char* folder) {
    int count = 0;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error); !error && it != std::filesystem::directory_iterator();
         it.increment(error))
        ++count;
    return count;
}

}  // namespace

ProcessFigures ProcessFigures::now() {
    ProcessFigures figures;
    std::ifstream statm("/proc/self/statm");
    long long size = 0, resident = 0;
    statm >> size >> resident;
    figures.residentBytes = resident * sysconf(_SC_PAGESIZE);
    // The directory listing itself holds one descriptor while it runs.
    figures.openFiles = countEntries("/proc/self/fd") - 1;
    figures.threads = countEntries("/proc/self/task");
    return figures;
}

std::string ProcessFigures::describe() const {
    char text[128];
    std::snprintf(text, sizeof text, "resident %.1f MiB, %d open files, %d threads",
                  static_cast<double>(residentBytes) / (1024.0 * 1024.0), openFiles, threads);
    return text;
}

}  // namespace soak
