// What the stream benchmarks measure against: a warm memcpy of a frame's
// bytes, a named thread's processor time, and the median of a run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

inline double medianOf(std::vector<double> values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Median nanoseconds of copying `bytes` between two buffers already touched.
inline double warmMemcpyNanoseconds(std::size_t bytes) {
    std::vector<unsigned char> from(bytes, 7), to(bytes, 0);
    std::vector<double> copies;
    for (int i = 0; i < 15; ++i) {
        const auto start = std::chrono::steady_clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::ClobberMemory();
        copies.push_back(std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count());
    }
    return medianOf(copies);
}

// Nanoseconds the first thread of this process whose name starts with
// `prefix` has run on a processor so far; 0 when there is none.
inline double threadNanoseconds(const std::string& prefix) {
    namespace fs = std::filesystem;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        std::getline(comm, name);
        if (name.rfind(prefix, 0) != 0) continue;
        std::ifstream schedstat(task.path() / "schedstat");
        double running = 0;
        schedstat >> running;
        return running;
    }
    return 0;
}

}  // namespace bench
