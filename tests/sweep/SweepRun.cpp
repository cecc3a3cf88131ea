#include "SweepRun.h"

#include "Outcome.h"

namespace sweep {

namespace {

struct Verdict {
    std::string problem;
    std::string note;
};

// Index of the `occurrence`-th call of `function` in `log`, or log.size().
std::size_t indexOf(const std::vector<ueye_sim::CallRecord>& log, const std::string& function, int occurrence) {
    int seen = 0;
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i].function == function && ++seen == occurrence) return i;
    return log.size();
}

// A checked call's failure is reported as message 63 with the injected
// status. An unchecked call's failure does not stop the operation: it either
// completes, or stops later at a checked call that the SDK failed in turn
// (a query's failure status is taken as its value and may be out of range),
// reported truthfully.
Verdict judge(const Operation& operation, const CallSite& site, int status, const Outcome& outcome,
              const std::vector<ueye_sim::CallRecord>& log, std::size_t failedAt) {
    if (site.checked) {
        const std::string wanted = sdkFailureText(site.function, status);
        if (outcome.kind == Outcome::Kind::QelException && outcome.message == wanted && outcome.severity == 10)
            return {};
        return {"wanted Qel::Exception(10, \"" + wanted + "\"), got " + outcome.describe(), ""};
    }
    if (outcome.kind == Outcome::Kind::Returned) return {};
    if (outcome.kind == Outcome::Kind::QelException && outcome.severity == 10) {
        // A tick without a picture has nothing to write: it holds the
        // recording and reports the missing picture in its own words.
        if (operation.name.rfind("recordTick", 0) == 0 && site.function == "is_GetActiveBuffer" &&
            outcome.message.find("is_GetActiveBuffer") != std::string::npos &&
            outcome.message != sdkFailureText(site.function, status))
            return {"", "no picture: the tick held the recording: " + outcome.message};
        const auto& last = log.back();
        if (log.size() > failedAt + 1 && last.result != 0 && isChecked(last) &&
            outcome.message == sdkFailureText(last.function, static_cast<long>(last.result)))
            return {"", "went on, then " + last.function + " failed in turn: " + outcome.message};
    }
    return {"an unchecked call's failure stopped the operation: " + outcome.describe(), ""};
}

}  // namespace

std::vector<ueye_sim::CallRecord> recordCleanRun(const Operation& operation, std::vector<std::string>& problems) {
    Session session(operation.sensor);
    operation.prepare(session);
    ueye_sim::clearCallLog();
    const Outcome outcome = runCapturing([&] { operation.run(session); });
    auto log = ueye_sim::callLog();
    if (outcome.kind != Outcome::Kind::Returned) problems.push_back("clean run: " + outcome.describe());
    const std::string closing = session.close();
    if (!closing.empty()) problems.push_back("clean run: " + closing);
    const std::string left = session.leftovers();
    if (!left.empty()) problems.push_back("clean run left:" + left);
    return log;
}

FaultResult runWithFailure(const Operation& operation, const CallSite& site, int status) {
    FaultResult result;
    Session session(operation.sensor);
    operation.prepare(session);
    ueye_sim::clearCallLog();
    ueye_sim::failCall(site.function, status, site.occurrence);
    const Outcome outcome = runCapturing([&] { operation.run(session); });
    const auto log = ueye_sim::callLog();

    const std::size_t failedAt = indexOf(log, site.function, site.occurrence);
    if (failedAt == log.size() || log[failedAt].result != status) {
        result.problems.push_back("the injected failure never happened (the calls went another way)");
    } else {
        const Verdict verdict = judge(operation, site, status, outcome, log, failedAt);
        if (!verdict.problem.empty()) result.problems.push_back(verdict.problem);
        if (!verdict.note.empty()) result.notes.push_back(verdict.note);
    }

    const std::string closing = session.close();
    if (!closing.empty()) result.problems.push_back(closing);
    const std::string left = session.leftovers();
    if (!left.empty()) result.problems.push_back("after stop and exit:" + left);
    std::string again = session.reopen();
    if (!again.empty() && operation.mayLeavePartialPreset) {
        // The host's way back from a preset it cannot apply.
        result.notes.push_back("a partial preset was left: init failed (" + again + "), resetUserSettings");
        again = session.resetThenReopen();
    }
    if (!again.empty()) result.problems.push_back("exit then init:" + again);
    return result;
}

}  // namespace sweep
