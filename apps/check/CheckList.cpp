#include "Checks.h"

#include "Session.h"

#include <cmath>
#include <exception>
#include <iomanip>
#include <sstream>

namespace check {

const std::vector<Check>& allChecks() {
    static const std::vector<Check> checks = [] {
        std::vector<Check> all;
        for (auto group : {lifecycleChecks, configChecks, controlChecks, pictureChecks, pictureFileChecks, presetChecks,
                           backgroundChecks, frameChecks, recordingRuleChecks, resetChecks, secondInitChecks})
            for (auto& one : group()) all.push_back(std::move(one));
        return all;
    }();
    return checks;
}

void withUndo(const std::function<void()>& body, const std::function<void()>& undo) {
    try {
        body();
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        try {
            undo();
        } catch (...) {
        }
        std::rethrow_exception(failure);
    }
    undo();
}

bool near(double actual, double wanted, double relative, double absolute) {
    const double off = std::fabs(actual - wanted);
    return off <= absolute || off <= relative * std::fabs(wanted);
}

void expectAlignedSize(int actual, int wanted, const std::string& which) {
    expect(actual > 0 && actual <= wanted && wanted - actual < kLargestStep,
           which + " " + std::to_string(actual) + ", expected " + std::to_string(wanted) + " aligned down to a step");
}

int wholeGain(double gain) { return static_cast<int>(std::lround(gain)); }

std::string show(double value) {
    std::ostringstream text;
    text << std::setprecision(6) << value;
    return text.str();
}

}  // namespace check
