#include "CallRegistry.h"

#include <algorithm>
#include <iostream>

namespace ueye_sim::detail {
namespace {
// A host may run for hours; the in-memory log keeps only the latest calls.
constexpr std::size_t kLogLimit = 100000;
}  // namespace

CallRegistry::CallRegistry() { restart(Environment::read()); }

CallRegistry& CallRegistry::instance() {
    static CallRegistry registry;
    return registry;
}

int CallRegistry::countCall(const std::string& function) {
    std::lock_guard lock(mutex_);
    return ++callCounts_[function];
}

long long CallRegistry::queryCount(const std::string& function, long long firstArg) const {
    const auto found = queryCounts_.find({function, firstArg});
    return found == queryCounts_.end() ? 0 : found->second;
}

std::optional<long long> CallRegistry::forcedResult(const std::string& function, int callNumber,
                                                    std::optional<long long> firstArg) {
    std::lock_guard lock(mutex_);
    long long queryNumber = 0;
    if (firstArg) queryNumber = ++queryCounts_[{function, *firstArg}];
    // Later rules win, so look from the newest.
    for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
        if (rule->function != function) continue;
        long long number = callNumber;
        if (rule->firstArg) {
            if (!firstArg || *firstArg != *rule->firstArg) continue;
            number = queryNumber;
        }
        if (rule->targetCall == 0 || rule->targetCall == number) return rule->result;
    }
    return std::nullopt;
}

void CallRegistry::record(CallRecord record) {
    std::lock_guard lock(mutex_);
    if (trace_) {
        const std::string line = record.line() + '\n';
        std::fwrite(line.data(), 1, line.size(), trace_.get());
        std::fflush(trace_.get());
    }
    log_.push_back(std::move(record));
    if (log_.size() > kLogLimit) log_.pop_front();
}

void CallRegistry::addFailure(const std::string& function, int status, int nth) {
    std::lock_guard lock(mutex_);
    const auto found = callCounts_.find(function);
    const long long done = found == callCounts_.end() ? 0 : found->second;
    rules_.push_back({function, std::nullopt, status, nth > 0 ? done + nth : 0});
}

void CallRegistry::addQueryScript(const std::string& function, int firstArg, int result, int nth) {
    std::lock_guard lock(mutex_);
    const long long done = queryCount(function, firstArg);
    rules_.push_back({function, firstArg, result, nth > 0 ? done + nth : 0});
}

void CallRegistry::addDelay(const std::string& function, std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    delays_[function] = delay;
}

std::chrono::microseconds CallRegistry::delayOf(const std::string& function) const {
    std::lock_guard lock(mutex_);
    const auto found = delays_.find(function);
    return found == delays_.end() ? std::chrono::microseconds(0) : found->second;
}

void CallRegistry::clearRules() {
    std::lock_guard lock(mutex_);
    delays_.clear();
    rules_.erase(std::remove_if(rules_.begin(), rules_.end(), [](const Rule& rule) { return !rule.fromEnvironment; }),
                 rules_.end());
}

std::vector<CallRecord> CallRegistry::log() const {
    std::lock_guard lock(mutex_);
    return {log_.begin(), log_.end()};
}

void CallRegistry::clearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

void CallRegistry::restart(const Environment& environment) {
    std::lock_guard lock(mutex_);
    callCounts_.clear();
    queryCounts_.clear();
    rules_.clear();
    delays_.clear();
    log_.clear();
    for (const auto& failure : environment.failures)
        rules_.push_back({failure.function, std::nullopt, failure.status, failure.nth, true});
    trace_.reset();
    if (!environment.tracePath.empty()) {
        trace_.reset(std::fopen(environment.tracePath.c_str(), "a"));
        if (!trace_) std::cerr << "ueye_sim: cannot open UESIM_TRACE file " << environment.tracePath << '\n';
    }
}

}  // namespace ueye_sim::detail
