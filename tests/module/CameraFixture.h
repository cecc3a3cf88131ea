// A fresh simulator, a fresh Camera and a configuration in a temporary
// application folder for every test.
#pragma once

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>
#include <Qel/Qel.h>
#include <gtest/gtest.h>
#include <ueye_sim/Control.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace camtest {

using Nimbrel_model::Camera;
using Nimbrel_model::CameraListener;
using Nimbrel_model::Config;

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
    const testsupport::AppDir& app() const { return *app_; }

private:
    std::unique_ptr<testsupport::AppDir> app_;
    int threadsBefore_ = 1;
};

// One tick of the recording timer, delivered by hand.
void recordTick(Camera* camera);

// Message 63 for `function` and `status`, as the module must report it.
std::string sdkFailureText(const std::string& function, long status);

// Runs `action`, expecting the SDK failure of `function` with `status`.
void expectSdkFailure(const std::function<void()>& action, const std::string& function, long status);

// Counts the calls it hears and the thread they come on.
class CountingListener : public CameraListener {
public:
    void recordEnd() override { ++recordEnds; if (onRecordEnd) onRecordEnd(); }
    void optimizeEnd() override {
        optimizeThread = std::this_thread::get_id();
        ++optimizeEnds;
    }
    std::atomic<int> recordEnds{0};
    std::atomic<int> optimizeEnds{0};
    std::thread::id optimizeThread;
    std::function<void()> onRecordEnd;
};

}  // namespace camtest
