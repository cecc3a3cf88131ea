// A check stuck inside the module (a call that never returns) still ends the
// run with its failure and what it was doing. A thread waits for each check;
// past the check's deadline it hands over what it knows and the process
// ends: the main thread is inside the module, so the camera cannot be put
// back, but the report is complete and the integrator's file untouched.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace check {

// What the running check is doing, for the report if it never finishes.
// `describe` runs on the watchdog's thread: it may read only what is safe
// to read while the check runs (atomics, its own copies).
void doing(std::function<std::string()> describe);
void doing(const std::string& what);

class Watchdog {
public:
    // Called on the watchdog's thread with the check's name, how long it ran
    // and what it was doing; must not return (it ends the process).
    using Expired = std::function<void(const std::string& check, double seconds, const std::string& doing)>;

    explicit Watchdog(Expired expired);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void arm(const std::string& check, std::chrono::milliseconds deadline);
    void disarm();

private:
    void watch();

    Expired expired_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string check_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point deadline_;
    bool armed_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace check
