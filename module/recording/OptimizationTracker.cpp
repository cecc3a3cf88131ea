#include "recording/OptimizationTracker.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace Nimbrel_model {

namespace {

// The SDK's search gives up after 5 s; the rest of the work is short.
const std::chrono::milliseconds kLongestOptimization(6000);

std::mutex& trackerMutex() {
    static std::mutex mutex;
    return mutex;
}

std::condition_variable& trackerEnded() {
    static std::condition_variable ended;
    return ended;
}

int alive = 0;

}  // namespace

void optimizationStarted() {
    std::lock_guard<std::mutex> lock(trackerMutex());
    ++alive;
}

void optimizationEnded() {
    {
        std::lock_guard<std::mutex> lock(trackerMutex());
        --alive;
    }
    trackerEnded().notify_all();
}

bool waitForOptimizations() {
    std::unique_lock<std::mutex> lock(trackerMutex());
    return trackerEnded().wait_for(lock, kLongestOptimization, [] { return alive <= 0; });
}

}  // namespace Nimbrel_model
