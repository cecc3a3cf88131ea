// The results: a table on the terminal, a progress line while the checks
// run, and the same results as JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace check {

enum class Verdict { Pass, Fail, Skip };

struct Result {
    std::string name;
    Verdict verdict = Verdict::Pass;
    double seconds = 0.0;
    std::string message;  // why it failed or was skipped
};

struct Summary {
    std::string camera;  // "SIM1280-C, 1280 x 1024, colour", or empty
    std::vector<Result> results;
    std::string restoreProblems;  // empty when everything was put back
    bool configUnchanged = true;
    bool interrupted = false;

    bool allPassed() const;
};

const char* verdictText(Verdict verdict);
// One line per check, then the counts.
void printTable(const Summary& summary, std::ostream& out);
void writeJson(const Summary& summary, std::ostream& out);
// "[3/15] gains ..." over itself on a terminal; nothing elsewhere.
void showProgress(std::size_t index, std::size_t count, const std::string& name);
void clearProgress();

}  // namespace check
