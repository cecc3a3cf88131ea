#include "AviRegistry.h"

#include "AviRecorder.h"

#include <limits>
#include <map>
#include <mutex>
#include <utility>

namespace ueye_sim::detail {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<int, std::shared_ptr<AviRecorder>> instances;
    int lastId = 0;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

}  // namespace

int createAvi() {
    auto recorder = std::make_shared<AviRecorder>();
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    if (r.lastId == std::numeric_limits<int>::max()) return 0;
    const int id = ++r.lastId;
    r.instances.emplace(id, std::move(recorder));
    return id;
}

std::shared_ptr<AviRecorder> findAvi(int id) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto it = r.instances.find(id);
    return it == r.instances.end() ? nullptr : it->second;
}

std::shared_ptr<AviRecorder> takeAvi(int id) {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto it = r.instances.find(id);
    if (it == r.instances.end()) return nullptr;
    auto recorder = std::move(it->second);
    r.instances.erase(it);
    return recorder;
}

void resetAvi() {
    std::map<int, std::shared_ptr<AviRecorder>> released;
    {
        Registry& r = registry();
        std::lock_guard lock(r.mutex);
        released.swap(r.instances);
    }
    // Files are finished outside the registry lock: trailers can take a while.
    for (auto& entry : released) entry.second->release();
}

int openAviCount() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    return static_cast<int>(r.instances.size());
}

}  // namespace ueye_sim::detail
