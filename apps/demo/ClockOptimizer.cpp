#include "ClockOptimizer.h"

#include "CameraReport.h"
#include "Format.h"
#include "StopSignal.h"

#include <Nimbrel_model/CameraListener.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace demo {

namespace {

class OptimizeListener : public Nimbrel_model::CameraListener {
public:
    void optimizeEnd() override {
        caller_ = std::this_thread::get_id();
        finished_.store(true, std::memory_order_release);
    }
    bool finished() const { return finished_.load(std::memory_order_acquire); }
    // Valid once finished() is true.
    std::thread::id caller() const { return caller_; }

private:
    std::atomic<bool> finished_{false};
    std::thread::id caller_;
};

// Static so that a worker thread finishing after a timeout still calls a
// live object.
OptimizeListener& listener() {
    static OptimizeListener instance;
    return instance;
}

}  // namespace

void optimizePixelClock(Nimbrel_model::Camera& camera, host::EventPump& pump, std::ostream& out,
                        std::chrono::milliseconds timeout) {
    OptimizeListener& end = listener();
    out << "optimising the pixel clock on a worker thread..." << std::endl;
    camera.optimizeClock(&end);
    bool finished = pump.runUntil([&] { return end.finished() || host::StopSignal::raised(); }, timeout);
    host::StopSignal::throwIfRaised();
    if (!finished)
        throw std::runtime_error("the pixel clock optimisation did not finish within " +
                                 host::number(std::chrono::duration<double>(timeout).count()) + " s");

    const bool onWorker = end.caller() != std::this_thread::get_id();
    out << "optimisation finished: optimizeEnd arrived on "
        << (onWorker ? "a worker thread, not the main thread" : "the main thread") << "\n  " << frameRateLine(camera)
        << "\n  " << exposureLine(camera) << "\n  " << pixelClockLine() << std::endl;
}

}  // namespace demo
