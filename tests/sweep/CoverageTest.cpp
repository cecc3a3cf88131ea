// How many SDK call sites the sweep covers: every operation's clean run, counted.
#include <gtest/gtest.h>

#include <iostream>

#include "SweepRun.h"

namespace sweep {
namespace {

TEST(SweepCoverage, CountsTheCallSites) {
    std::size_t total = 0, checked = 0, silent = 0;
    for (const Operation& operation : operations()) {
        std::vector<std::string> problems;
        const auto sites = callSites(recordCleanRun(operation, problems), operation.onWorkerThread);
        for (const auto& problem : problems) ADD_FAILURE() << operation.name << ": " << problem;
        total += sites.size();
        for (const auto& site : sites) checked += site.checked ? 1 : 0;
        silent += sites.empty() ? 1 : 0;
    }
    std::cout << "[sweep] " << operations().size() << " operations (" << silent
              << " make no SDK call), " << total << " call sites: " << checked << " checked, " << total - checked
              << " unchecked\n";
    RecordProperty("call_sites", static_cast<int>(total));
    EXPECT_GT(checked, 0u);
    EXPECT_LT(silent, operations().size());
}

}  // namespace
}  // namespace sweep
