#include "Optimizer.h"

#include "ConsoleApp.h"
#include "Errors.h"
#include "EventLoop.h"

#include <Nimbrel_model/CameraListener.h>
#include <wx/app.h>

#include <cstdint>
#include <map>
#include <memory>

namespace nimbrel_python {

namespace {

// The SDK's search takes up to 5 s.
constexpr double endTimeoutSeconds = 15.0;

// One listener per optimisation: the module calls it on the worker thread,
// so it lives until the main thread has heard of the end.
struct Pending : Nimbrel_model::CameraListener {
    std::uint64_t id = 0;
    py::object onEnd;
    void optimizeEnd() override;
};

// Main thread only. Never destroyed: an entry whose end never came must not
// be released at exit, after the interpreter.
std::map<std::uint64_t, std::unique_ptr<Pending>>& pending() {
    static auto* all = new std::map<std::uint64_t, std::unique_ptr<Pending>>;
    return *all;
}

void deliver(std::uint64_t id) {
    runPython([id] {
        auto found = pending().find(id);
        if (found == pending().end()) return;
        const std::unique_ptr<Pending> done = std::move(found->second);
        pending().erase(found);
        if (done->onEnd && !done->onEnd.is_none()) done->onEnd();
    });
}

void Pending::optimizeEnd() {
    const std::uint64_t key = id;  // `this` may be gone once the call is queued
    host::application().CallAfter([key] { deliver(key); });
}

}  // namespace

void Optimizer::start(py::object onEnd) {
    static std::uint64_t nextId = 1;
    const bool wait = onEnd.is_none();
    auto listener = std::make_unique<Pending>();
    const std::uint64_t id = listener->id = nextId++;
    listener->onEnd = std::move(onEnd);
    Pending* raw = listener.get();
    pending()[id] = std::move(listener);
    camera_.optimizeClock(raw);
    if (wait && !pumpUntil([id] { return pending().count(id) == 0; }, endTimeoutSeconds))
        raiseCameraError("the pixel clock optimisation did not end within 15 s");
}

void Optimizer::cancelCallbacks() {
    for (auto& entry : pending()) entry.second->onEnd = py::none();
}

bool Optimizer::waitAll(double seconds) {
    return pumpUntil([] { return pending().empty(); }, seconds);
}

}  // namespace nimbrel_python
