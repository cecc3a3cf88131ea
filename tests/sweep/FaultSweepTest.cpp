// Each public Camera operation runs once clean, recording its SDK calls; then
// once more for every one of those calls with that call failing.
#include <gtest/gtest.h>

#include <iostream>

#include "Sweep.h"

namespace sweep {

// Found by argument lookup, beside Operation: a test is named after its operation.
void PrintTo(const Operation& operation, std::ostream* out) { *out << operation.name; }

namespace {

// Distinctive statuses, so that a report can only come from the injected failure.
const int kFirstStatus = 4000;

class FaultSweep : public ::testing::TestWithParam<Operation> {};

TEST_P(FaultSweep, EveryCallFailingInTurn) {
    const Operation& operation = GetParam();
    std::vector<std::string> problems;
    const auto log = recordCleanRun(operation, problems, true);
    for (const auto& problem : problems) ADD_FAILURE() << operation.name << ": " << problem;
    ASSERT_TRUE(problems.empty());

    // The sweep numbers calls by occurrence: the sequence must repeat exactly.
    const auto second = recordCleanRun(operation, problems, false);
    for (const auto& problem : problems) ADD_FAILURE() << operation.name << ": " << problem;
    ASSERT_EQ(second.size(), log.size()) << operation.name << ": the calls differ between two clean runs";
    for (std::size_t i = 0; i < log.size(); ++i) ASSERT_EQ(second[i].function, log[i].function) << "call " << i;

    const auto sites = callSites(log, operation.onWorkerThread);
    int checked = 0;
    for (std::size_t k = 0; k < sites.size(); ++k) {
        const CallSite& site = sites[k];
        checked += site.checked ? 1 : 0;
        const int status = kFirstStatus + static_cast<int>(k);
        const std::string where = operation.name + ", " + site.label() + (site.checked ? " checked" : " unchecked") +
                                  " failing with " + std::to_string(status) + ": ";
        // Both values of the saved flag in turn: a failure must neither clear nor set it.
        const FaultResult result = runWithFailure(operation, site, status, k % 2 == 0, log);
        for (const auto& problem : result.problems) ADD_FAILURE() << where << problem;
        for (const auto& note : result.notes) std::cout << "[sweep] note: " << where << note << "\n";
        if (acceptsSuccessWarning(site))
            for (const auto& problem : runWithFailure(operation, site, kAviSuccessWarning, true, log).problems)
                ADD_FAILURE() << operation.name << ", " << site.label() << " returning 317: " << problem;
    }
    std::cout << "[sweep] " << operation.name << ": " << sites.size() << " call sites, " << checked << " checked, "
              << sites.size() - static_cast<std::size_t>(checked) << " unchecked\n";
    RecordProperty("call_sites", static_cast<int>(sites.size()));
}

INSTANTIATE_TEST_SUITE_P(Camera, FaultSweep, ::testing::ValuesIn(operations()));

}  // namespace
}  // namespace sweep
