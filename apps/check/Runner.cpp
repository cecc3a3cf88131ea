#include "Runner.h"

#include "Session.h"
#include "StopSignal.h"
#include "Watchdog.h"

#include <Qel/Qel.h>

#include <chrono>
#include <mutex>

namespace check {

namespace {

Result runOne(Session& session, const Check& check, bool& interrupted) {
    Result result;
    result.name = check.name;
    const auto start = std::chrono::steady_clock::now();
    try {
        check.run(session);
    } catch (const host::Interrupted& stop) {
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

std::string describeCamera(const Session& session) {
    const auto& b = session.baseline();
    if (!b) return {};
    return b->name + ", " + std::to_string(b->maxWidth) + " x " + std::to_string(b->maxHeight) + ", " +
           (b->color ? "colour" : "monochrome");
}

}  // namespace

Summary runChecks(Session& session, const std::vector<const Check*>& checks, std::chrono::milliseconds deadline,
                  const HungRun& hung) {
    Summary summary;
    std::mutex summaryMutex;  // the watchdog reads the results so far
    Watchdog watchdog([&](const std::string& name, double seconds, const std::string& what) {
        Summary sofar;
        {
            std::lock_guard<std::mutex> lock(summaryMutex);
            sofar = summary;
        }
        Result stuck;
        stuck.name = name;
        stuck.verdict = Verdict::Fail;
        stuck.seconds = seconds;
        stuck.message = "did not finish within " + show(static_cast<double>(deadline.count()) / 1000.0) + " s" +
                        (what.empty() ? std::string() : ": " + what);
        sofar.results.push_back(stuck);
        sofar.restoreProblems = "the run was ended inside " + name + ", with the camera as that check left it";
        hung(sofar);
    });
    for (std::size_t i = 0; i < checks.size() && !summary.interrupted; ++i) {
        if (host::StopSignal::raised()) {
            summary.interrupted = true;
            break;
        }
        showProgress(i, checks.size(), checks[i]->name);
        watchdog.arm(checks[i]->name, deadline);
        bool interrupted = false;
        Result result = runOne(session, *checks[i], interrupted);
        doing(std::string());
        {
            std::lock_guard<std::mutex> lock(summaryMutex);
            summary.results.push_back(std::move(result));
            summary.interrupted = interrupted;
            summary.camera = describeCamera(session);
        }
        if (summary.results.back().verdict == Verdict::Fail && !summary.interrupted) {
            // The next check starts from a fresh opening.
            try {
                session.close();
            } catch (...) {
            }
        }
        watchdog.disarm();
    }
    clearProgress();
    watchdog.arm("put-back", deadline);
    summary.restoreProblems = session.restore();
    watchdog.disarm();
    return summary;
}

}  // namespace check
