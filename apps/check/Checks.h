// The conformance checks, in the order they run. Each one opens the camera
// when it needs it (Session::open), throws CheckFailure, CheckSkipped or the
// module's Qel::Exception, and leaves the camera settings as it found them.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace check {

class Session;

struct Check {
    std::string name;  // for --only
    std::string what;  // one line for --list
    std::function<void(Session&)> run;
};

const std::vector<Check>& allChecks();

std::vector<Check> lifecycleChecks();
std::vector<Check> secondInitChecks();
std::vector<Check> controlChecks();
std::vector<Check> pictureChecks();
std::vector<Check> backgroundChecks();
std::vector<Check> pictureFileChecks();
std::vector<Check> presetChecks();
std::vector<Check> configChecks();
std::vector<Check> recordingRuleChecks();
std::vector<Check> resetChecks();
std::vector<Check> frameChecks();

// Runs `body`, then `undo` whether or not `body` threw. A failing undo is
// reported only when the body passed.
void withUndo(const std::function<void()>& body, const std::function<void()>& undo);
// `actual` within `relative` of `wanted`, or within `absolute` of it.
bool near(double actual, double wanted, double relative, double absolute);
// How far an aligned size or offset may fall below the one asked for: more
// than any camera's step.
constexpr int kLargestStep = 64;
// CheckFailure unless `actual` is `wanted` rounded down to a camera step.
void expectAlignedSize(int actual, int wanted, const std::string& which);
// A number as the report shows it.
std::string show(double value);
// A gain read back, as the whole number the camera takes.
int wholeGain(double gain);

}  // namespace check
