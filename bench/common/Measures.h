// What the stream benchmarks measure against: a warm memcpy of a frame's
// bytes, a copy of a frame that has just arrived, a named thread's processor
// time, and the median of a run.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

// Mean nanoseconds a thread takes to copy `bytes` of a frame that has just
// arrived, as a consumer of a camera copies it: a camera writes each frame
// into memory, so no cache holds it, and the thread wakes for it from a wait
// of one frame `period`. The mean, as a stream's cost is its time over its
// frames. Where the cache cannot be flushed it holds the frame.
inline double arrivedCopyNanoseconds(std::size_t bytes, std::chrono::nanoseconds period) {
    std::vector<unsigned char> from(bytes, 7), to(bytes, 0);
    std::vector<double> copies;
    std::mutex mutex;
    std::condition_variable arrived;
    int frames = 0;
    const int count = 15;
    std::thread copier([&] {
        for (int frame = 1; frame <= count; ++frame) {
            {
                std::unique_lock lock(mutex);
                arrived.wait(lock, [&] { return frames >= frame; });
            }
            const auto start = std::chrono::steady_clock::now();
            std::memcpy(to.data(), from.data(), bytes);
            benchmark::ClobberMemory();
            copies.push_back(
                std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count());
        }
    });
    auto next = std::chrono::steady_clock::now();
    for (int frame = 1; frame <= count; ++frame) {
        next += period;
        std::this_thread::sleep_until(next);
        std::memset(from.data(), frame, bytes);
#if defined(__x86_64__) || defined(__i386__)
        for (std::size_t line = 0; line < bytes; line += 64) _mm_clflush(from.data() + line);
        _mm_mfence();
#endif
        {
            std::lock_guard lock(mutex);
            frames = frame;
        }
        arrived.notify_one();
    }
    copier.join();
    double total = 0;
    for (const double copy : copies) total += copy;
    return total / count;
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
