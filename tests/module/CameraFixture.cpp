#include "CameraFixture.h"

#include <chrono>
#include <filesystem>

namespace camtest {

namespace {

int threadCount() {
    int count = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end; it.increment(error))
        ++count;
    return count;
}

// A detached optimisation thread goes on for a moment after optimizeEnd (wx
// deletes it): it must be gone before the next test, or the process exit
// tears wx down under it.
void waitForThreadsDownTo(int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (threadCount() > count && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace

void CameraFixture::SetUp() {
    ueye_sim::reset();
    // A sanitizer starts a helper thread of its own with the first thread: count it in.
    std::thread([] {}).join();
    threadsBefore_ = threadCount();
    app_ = std::make_unique<testsupport::AppDir>();
    config()->load();
    config()->setConfSaved(true);
}

void CameraFixture::TearDown() {
    // Each test gets a fresh Camera: the colour flag, for one, never comes back once cleared.
    delete Camera::getInstance();
    ueye_sim::reset();
    waitForThreadsDownTo(threadsBefore_);
    app_.reset();
}

void CameraFixture::open(const std::string& sensor) {
    ASSERT_TRUE(ueye_sim::connectCamera(sensor));
    camera()->init();
}

void recordTick(Camera* camera) {
    wxTimer timer(nullptr, 10);
    wxTimerEvent event(timer);
    camera->onTimer(event);
}

std::string sdkFailureText(const std::string& function, long status) {
    Qel::Strings::hstring text = Qel::Strings::StringTable::get().getString("Nimbrel", 63);
    text.replaceAll("%s", function);
    text << status;
    return text.str();
}

void expectSdkFailure(const std::function<void()>& action, const std::string& function, long status) {
    try {
        action();
        ADD_FAILURE() << "expected the failure of " << function;
    } catch (const Qel::Exception& e) {
        EXPECT_EQ(e.getMessage().str(), sdkFailureText(function, status));
        EXPECT_EQ(e.getSeverity(), 10);
    }
}

}  // namespace camtest
