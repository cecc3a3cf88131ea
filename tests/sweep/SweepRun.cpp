#include "Sweep.h"

#include "CameraFixture.h"

namespace sweep {

namespace {

using testsupport::sdkFailureText;
using testsupport::thrownText;

// What a run threw, for a report.
std::string describe(const std::string& thrown) {
    return thrown.empty() ? "returned normally" : "threw \"" + thrown + "\"";
}

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

std::vector<std::string> namesFrom(const std::vector<ueye_sim::CallRecord>& log, std::size_t first) {
    std::vector<std::string> names;
    for (std::size_t i = first; i < log.size(); ++i) names.push_back(log[i].function);
    return names;
}

// The set-up's own setters may clear the flag, and the user branch sets it,
// before a later call fails.
bool runsSetUp(const std::vector<ueye_sim::CallRecord>& log) { return findCall(log, "is_SetColorMode", 1) != nullptr; }

// A checked call's failure is reported as message 63 with the injected
// status. An unchecked call's failure does not stop the operation: it either
// completes, or stops later at a checked call that the SDK failed in turn
// (a query's failure status is taken as its value and may be out of range),
// reported truthfully.
// `thrown` is thrownText's: a Qel::Exception of severity 10 is its message alone.
Verdict judge(const Operation& operation, const CallSite& site, int status, const std::string& thrown,
              const std::vector<ueye_sim::CallRecord>& log, std::size_t failedAt) {
    if (site.checked) {
        const std::string wanted = sdkFailureText(site.function, status);
        if (thrown == wanted) return {};
        return {"wanted Qel::Exception(10, \"" + wanted + "\"), " + describe(thrown), ""};
    }
    if (thrown.empty()) return {};
    {
        const std::string& message = thrown;
        // A tick without a picture has nothing to write: it holds the
        // recording and reports the missing picture in its own words.
        if (operation.name.rfind("recordTick", 0) == 0 && site.function == "is_GetActiveBuffer" &&
            message.find("is_GetActiveBuffer") != std::string::npos && message != sdkFailureText(site.function, status))
            return {"", "no picture: the tick held the recording: " + message};
        const auto& last = log.back();
        if (log.size() > failedAt + 1 && last.result != 0 && isChecked(last) &&
            message == sdkFailureText(last.function, static_cast<long>(last.result)))
            return {"", "went on, then " + last.function + " failed in turn: " + message};
    }
    return {"an unchecked call's failure stopped the operation: " + describe(thrown), ""};
}

}  // namespace

std::vector<ueye_sim::CallRecord> recordCleanRun(const Operation& operation, std::vector<std::string>& problems,
                                                 bool savedBefore) {
    Session session(operation.sensor);
    operation.prepare(session);
    session.config()->setConfSaved(savedBefore);
    ueye_sim::clearCallLog();
    const std::string thrown = thrownText([&] { operation.run(session); });
    auto log = ueye_sim::callLog();
    if (!thrown.empty()) problems.push_back("clean run: " + describe(thrown));
    if (session.config()->getConfSaved() != savedAfterCleanRun(operation, savedBefore))
        problems.push_back("clean run: the saved flag is " + std::to_string(session.config()->getConfSaved()) +
                           " after " + std::to_string(savedBefore));
    const std::string closing = session.close();
    if (!closing.empty()) problems.push_back("clean run: " + closing);
    const std::string left = session.leftovers();
    if (!left.empty()) problems.push_back("clean run left:" + left);
    return log;
}

bool acceptsSuccessWarning(const CallSite& site) {
    return site.function == "isavi_GetAVISize" || site.function == "isavi_AddFrame";
}

FaultResult runWithFailure(const Operation& operation, const CallSite& site, int status, bool savedBefore,
                           const std::vector<ueye_sim::CallRecord>& clean) {
    FaultResult result;
    Session session(operation.sensor);
    operation.prepare(session);
    session.config()->setConfSaved(savedBefore);
    ueye_sim::clearCallLog();
    ueye_sim::failCall(site.function, status, site.occurrence);
    const std::string thrown = thrownText([&] { operation.run(session); });
    const auto log = ueye_sim::callLog();

    const std::size_t failedAt = indexOf(log, site.function, site.occurrence);
    if (failedAt == log.size() || log[failedAt].result != status) {
        result.problems.push_back("the injected failure never happened (the calls went another way)");
    } else if (status == kAviSuccessWarning && acceptsSuccessWarning(site)) {
        if (!thrown.empty()) result.problems.push_back("status 317 is success: " + describe(thrown));
        if (namesFrom(log, failedAt) != namesFrom(clean, indexOf(clean, site.function, site.occurrence)))
            result.problems.push_back("status 317 is success: the calls after it differ from the clean run's");
        // The recording goes on: the next tick writes its frame.
        ueye_sim::clearScripts();
        if (ueye_sim::openAviInstances() > 0) {
            const std::string next = thrownText([&] { testsupport::recordTick(session.camera()); });
            if (!next.empty()) result.problems.push_back("the next tick: " + describe(next));
        }
    } else {
        const Verdict verdict = judge(operation, site, status, thrown, log, failedAt);
        if (!verdict.problem.empty()) result.problems.push_back(verdict.problem);
        if (!verdict.note.empty()) result.notes.push_back(verdict.note);
        if (!thrown.empty() && !runsSetUp(clean) && session.config()->getConfSaved() != savedBefore)
            result.problems.push_back("the failed operation changed the saved flag");
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
