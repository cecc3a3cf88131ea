// Hears the module's callbacks and hands them to the main thread.
#pragma once

#include <Nimbrel_model/CameraListener.h>

#include <atomic>
#include <functional>

namespace viewer {

class ViewerListener : public Nimbrel_model::CameraListener {
public:
    // Both run on the main thread, outside the module's own call.
    std::function<void()> onRecordEnd;
    std::function<void()> onOptimizeEnd;

    // Counts optimisations whose end has not been heard yet: the camera must
    // not be closed under a worker thread still driving it.
    void optimizationStarted() { ++pending_; }
    void optimizationNotStarted() { --pending_; }
    bool optimizing() const { return pending_ > 0; }

    void recordEnd() override;
    void optimizeEnd() override;  // on the worker thread

private:
    std::atomic<int> pending_{0};
};

}  // namespace viewer
