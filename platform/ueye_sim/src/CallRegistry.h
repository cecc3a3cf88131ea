// What the call gates share: call counts, injected failures and scripted
// results, the call log and the trace file. One lock guards it all.
#pragma once

#include "Environment.h"
#include "ueye_sim/Control.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ueye_sim::detail {

class CallRegistry {
public:
    static CallRegistry& instance();

    // Counts a call of `function`; returns its number since load or reset.
    int countCall(const std::string& function);
    // The result forced on a call, counting it among calls with that first argument.
    std::optional<long long> forcedResult(const std::string& function, int callNumber,
                                          std::optional<long long> firstArg);
    void record(CallRecord record);

    void addFailure(const std::string& function, int status, int nth);
    void addQueryScript(const std::string& function, int firstArg, int result, int nth);
    void addDelay(const std::string& function, std::chrono::microseconds delay);
    // How much later than its work a call of `function` returns.
    std::chrono::microseconds delayOf(const std::string& function) const;
    // Drops the rules added by calls, keeping those of UESIM_FAIL.
    void clearRules();

    std::vector<CallRecord> log() const;
    void clearLog();

    // Forgets counts, rules and the log, then takes the environment's failures and trace file.
    void restart(const Environment& environment);

private:
    // A rule fires on every call (targetCall 0) or on one call number.
    struct Rule {
        std::string function;
        std::optional<long long> firstArg;  // set: a scripted query
        long long result = 0;
        long long targetCall = 0;
        bool fromEnvironment = false;  // UESIM_FAIL rules outlive clearRules()
    };
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    CallRegistry();
    long long queryCount(const std::string& function, long long firstArg) const;

    mutable std::mutex mutex_;
    std::map<std::string, int> callCounts_;
    std::map<std::pair<std::string, long long>, long long> queryCounts_;
    std::vector<Rule> rules_;
    std::map<std::string, std::chrono::microseconds> delays_;
    std::deque<CallRecord> log_;
    std::unique_ptr<std::FILE, FileCloser> trace_;
};

}  // namespace ueye_sim::detail
