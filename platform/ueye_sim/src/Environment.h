// The simulator's environment variables, read at load and on reset().
#pragma once

#include <string>
#include <vector>

namespace ueye_sim::detail {

// One UESIM_FAIL entry: `function=status` (nth 0) or `function@nth=status`.
struct FailureRule {
    std::string function;
    int status = 0;
    int nth = 0;
};

struct Environment {
    std::string camera;                // empty: the default camera
    std::vector<std::string> cameras;  // UESIM_CAMERAS: several, ids 1, 2, ...; empty: `camera` alone
    bool stamp = false;                // UESIM_STAMP=1
    std::vector<FailureRule> failures;
    std::string tracePath;  // empty: no trace

    static Environment read();
};

// Parses a UESIM_FAIL value; malformed entries are reported on stderr and
// skipped. An entry naming no gated function ends the process (status 2).
std::vector<FailureRule> parseFailures(const std::string& text);

}  // namespace ueye_sim::detail
