// The camera part of the test support: a fresh simulator, Camera and
// configuration for every test, the recording timer's tick, message 63.
#pragma once

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <gtest/gtest.h>
#include <ueye_sim/Control.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace testsupport {

using Nimbrel_model::Camera;
using Nimbrel_model::CameraListener;
using Nimbrel_model::Config;

// The threads of this process when it was made. A detached optimisation
// thread goes on for a moment after optimizeEnd (wx deletes it): it must be
// gone before the next test, or the process exit tears wx down under it.
class ThreadWatch {
public:
    ThreadWatch();
    // Waits, at most 10 s, until no more threads run than at construction.
    bool waitForOthersToEnd() const;

private:
    int before_;
};

class CameraFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Camera* camera() { return Camera::getInstance(); }
    Config* config() { return Config::getInstance(); }
    // Connects `sensor` and opens it.
    void open(const std::string& sensor = "SIM1280-C");
    // The names of the SDK calls logged since the last clearCallLog.
    std::vector<std::string> calls() const { return ueye_sim::callNames(); }
    std::string configText() const { return app_->readConfig(); }
    const AppDir& app() const { return *app_; }

private:
    std::unique_ptr<ThreadWatch> threads_;
    std::unique_ptr<AppDir> app_;
};

// The arguments of the first logged call of `function`, after the handle.
std::string argumentsOf(const std::string& function);

// One tick of the recording timer, delivered by hand.
void recordTick(Camera* camera);

// Message 63 for `function` and `status`, as the module reports a failed SDK call.
std::string sdkFailureText(const std::string& function, long status);

// What `action` threw: "" when it returned, the message of a Qel::Exception
// (with " (severity N)" unless it is 10), else a description.
std::string thrownText(const std::function<void()>& action);

// Runs `action`, expecting the SDK failure of `function` with `status`.
void expectSdkFailure(const std::function<void()>& action, const std::string& function, long status);

// Counts the calls it hears and the thread they come on.
class CountingListener : public CameraListener {
public:
    void recordEnd() override {
        ++recordEnds;
        if (onRecordEnd) onRecordEnd();
    }
    void optimizeEnd() override {
        optimizeThread = std::this_thread::get_id();
        ++optimizeEnds;
    }
    std::atomic<int> recordEnds{0};
    std::atomic<int> optimizeEnds{0};
    std::thread::id optimizeThread;
    std::function<void()> onRecordEnd;
};

}  // namespace testsupport
