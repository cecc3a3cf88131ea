#include "Watchdog.h"

#include <utility>

namespace check {

namespace {

std::mutex doingMutex;
std::function<std::string()> currentDoing;

std::string describeDoing() {
    std::lock_guard<std::mutex> lock(doingMutex);
    return currentDoing ? currentDoing() : std::string();
}

}  // namespace

void doing(std::function<std::string()> describe) {
    std::lock_guard<std::mutex> lock(doingMutex);
    currentDoing = std::move(describe);
}

void doing(const std::string& what) {
    doing([what] { return what; });
}

Watchdog::Watchdog(Expired expired) : expired_(std::move(expired)), thread_([this] { watch(); }) {}

Watchdog::~Watchdog() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Watchdog::arm(const std::string& check, std::chrono::milliseconds deadline) {
    doing(std::string());
    {
        std::lock_guard<std::mutex> lock(mutex_);
        check_ = check;
        started_ = std::chrono::steady_clock::now();
        deadline_ = started_ + deadline;
        armed_ = true;
    }
    changed_.notify_all();
}

void Watchdog::disarm() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
    }
    changed_.notify_all();
}

void Watchdog::watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        if (!armed_) {
            changed_.wait(lock);
            continue;
        }
        const auto deadline = deadline_;
        if (changed_.wait_until(lock, deadline, [&] { return stopping_ || !armed_ || deadline_ != deadline; }))
            continue;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        const std::string check = check_;
        lock.unlock();
        expired_(check, seconds, describeDoing());
        return;
    }
}

}  // namespace check
