// The fault sweep: a fresh session per run, the public operations of Camera,
// their SDK call sites, and runs with one call failing.
#pragma once

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <ueye_sim/Control.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CameraFixture.h"

namespace sweep {

using SweepListener = testsupport::CountingListener;

// A fresh simulator, configuration and Camera for one run of one operation,
// and the checks that the run left nothing behind.
class Session {
public:
    // Resets the simulator, connects `sensor` and loads the shipped configuration.
    explicit Session(const std::string& sensor);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Nimbrel_model::Camera* camera() const { return Nimbrel_model::Camera::getInstance(); }
    Nimbrel_model::Config* config() const { return Nimbrel_model::Config::getInstance(); }
    SweepListener& listener() { return listener_; }
    std::string aviPath() const { return files_.file("sweep.avi"); }

    // Ends what an interrupted operation may have left open: the recording,
    // then the camera. Each is tried twice, since the first try may meet the
    // failure that interrupted the operation. Returns what went wrong, or "".
    std::string close();
    // After close(): the camera closed, no image memory and no AVI instance left.
    std::string leftovers() const;
    // Opens the camera again and waits for a picture; closes it. Returns what
    // went wrong, or "".
    std::string reopen();
    // resetUserSettings (clearing the preset, opening the camera), then as reopen().
    std::string resetThenReopen();

private:
    std::string openAndCheck(const std::function<void()>& open);

    std::unique_ptr<testsupport::ThreadWatch> threads_;
    testsupport::TempDir files_;
    std::unique_ptr<testsupport::AppDir> app_;
    SweepListener listener_;
    int reopens_ = 0;
};

// The SDK call sites of one operation, read from the simulator's call log:
// each call, numbered by its occurrence among the calls of the same function.

struct CallSite {
    std::string function;
    int occurrence;  // from 1, among this operation's calls of `function`
    std::string arguments;
    bool checked;               // the module must report its failure
    std::string label() const;  // "function#occurrence(arguments)"
};

// The call sites of a clean run's log. `onWorkerThread`: the calls come from
// the optimisation thread, which reports nothing.
std::vector<CallSite> callSites(const std::vector<ueye_sim::CallRecord>& log, bool onWorkerThread);

// Whether the module checks this call's status: every call but the unchecked
// set-up call, the active-buffer query and the query forms of the gain,
// brightness and image position calls, which return a value in place of a status.
bool isChecked(const ueye_sim::CallRecord& call);

// The `occurrence`-th call of `function` in `log`, or nullptr.
const ueye_sim::CallRecord* findCall(const std::vector<ueye_sim::CallRecord>& log, const std::string& function,
                                     int occurrence);

// The public operations of Camera, each with the state it needs first.

struct Operation {
    std::string name;    // also the test's name: letters, digits and '_'
    std::string sensor;  // the connected camera
    // Brings a fresh session to the state the operation needs; its SDK calls
    // are not part of the sweep.
    std::function<void(Session&)> prepare;
    std::function<void(Session&)> run;
    // The operation's SDK calls all come from the optimisation thread.
    bool onWorkerThread = false;
    // Stopped part way, it may leave a preset without a size: the camera
    // then opens again only after resetUserSettings, which is by design
    // (what a save has stored stays stored, missing sizes are 0 by 0).
    bool mayLeavePartialPreset = false;
};

const std::vector<Operation>& operations();

// The saved flag after a clean run that started with `before`: setters of
// live values clear it, saving, resetting and a preset's set-up set it.
bool savedAfterCleanRun(const Operation& operation, bool before);

// The SDK calls of a clean run, in order, the saved flag set to `savedBefore`
// first. Failures of the run itself, a wrong saved flag after it, are added
// to `problems`.
std::vector<ueye_sim::CallRecord> recordCleanRun(const Operation& operation, std::vector<std::string>& problems,
                                                 bool savedBefore);

struct FaultResult {
    // What went wrong: the wrong report of the failure, a leftover camera,
    // image memory or AVI instance, a camera that does not work again.
    std::vector<std::string> problems;
    // Accepted consequences worth knowing, e.g. a later call failing because
    // a query's failure status was taken as its value.
    std::vector<std::string> notes;
};

// The AVI library's status that counts as success for a frame written or a
// size read: the operation goes on as in its clean run.
constexpr int kAviSuccessWarning = 317;
bool acceptsSuccessWarning(const CallSite& site);

// Runs `operation` afresh, the saved flag set to `savedBefore`, with `site`
// failing with `status`; then closes the camera, checks that nothing is
// left, and opens it again. `clean` is the clean run's log.
FaultResult runWithFailure(const Operation& operation, const CallSite& site, int status, bool savedBefore,
                           const std::vector<ueye_sim::CallRecord>& clean);

}  // namespace sweep
