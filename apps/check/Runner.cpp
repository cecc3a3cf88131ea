#include "Runner.h"

#include "Session.h"
#include "StopSignal.h"

#include <Qel/Qel.h>

#include <chrono>

namespace check {

namespace {

Result runOne(Session& session, const Check& check, bool& interrupted) {
    Result result;
    result.name = check.name;
    const auto start = std::chrono::steady_clock::now();
    try {
        check.run(session);
    } catch (const hosts::Interrupted& stop) {
        result.verdict = Verdict::Fail;
        result.message = stop.what();
        interrupted = true;
    } catch (const CheckSkipped& skip) {
        result.verdict = Verdict::Skip;
        result.message = skip.what();
    } catch (const CheckFailure& failure) {
        result.verdict = Verdict::Fail;
        result.message = failure.what();
    } catch (const Qel::Exception& failure) {
        result.verdict = Verdict::Fail;
        result.message = failure.getMessage().str();
    } catch (const std::exception& failure) {
        result.verdict = Verdict::Fail;
        result.message = failure.what();
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

}  // namespace

Summary runChecks(Session& session, const std::vector<const Check*>& checks) {
    Summary summary;
    for (std::size_t i = 0; i < checks.size() && !summary.interrupted; ++i) {
        if (hosts::StopSignal::raised()) {
            summary.interrupted = true;
            break;
        }
        showProgress(i, checks.size(), checks[i]->name);
        summary.results.push_back(runOne(session, *checks[i], summary.interrupted));
        if (summary.results.back().verdict == Verdict::Fail && !summary.interrupted) {
            // The next check starts from a fresh opening.
            try {
                session.close();
            } catch (...) {
            }
        }
    }
    clearProgress();
    if (const auto& b = session.baseline())
        summary.camera = b->name + ", " + std::to_string(b->maxWidth) + " x " + std::to_string(b->maxHeight) + ", " +
                         (b->colour ? "colour" : "monochrome");
    summary.restoreProblems = session.restore();
    return summary;
}

}  // namespace check
