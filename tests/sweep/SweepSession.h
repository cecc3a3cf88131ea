// A fresh simulator, configuration and Camera for one run of one operation,
// and the checks that the run left nothing behind.
#pragma once

#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/CameraListener.h>
#include <Nimbrel_model/Config.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "TestSupport.h"

namespace sweep {

class SweepListener : public Nimbrel_model::CameraListener {
public:
    void recordEnd() override { ++recordEnds; }
    void optimizeEnd() override { ++optimizeEnds; }
    std::atomic<int> recordEnds{0};
    std::atomic<int> optimizeEnds{0};
};

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

    testsupport::TempDir files_;
    std::unique_ptr<testsupport::AppDir> app_;
    SweepListener listener_;
    int threadsBefore_ = 1;
};

}  // namespace sweep
