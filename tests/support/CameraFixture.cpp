#include "CameraFixture.h"

#include <Qel/Qel.h>

#include <chrono>
#include <exception>
#include <filesystem>

namespace testsupport {

namespace {

int threadCount() {
    int count = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
         it.increment(error))
        ++count;
    return count;
}

}  // namespace

ThreadWatch::ThreadWatch() {
    // A sanitizer starts a helper thread of its own with the first thread: count it in.
    std::thread([] {}).join();
    before_ = threadCount();
}

bool ThreadWatch::waitForOthersToEnd() const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (threadCount() > before_ && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return threadCount() <= before_;
}

void CameraFixture::SetUp() {
    ueye_sim::reset();
    threads_ = std::make_unique<ThreadWatch>();
    app_ = std::make_unique<AppDir>();
    config()->load();
    config()->setConfSaved(true);
}

void CameraFixture::TearDown() {
    // Each test gets a fresh Camera: the colour flag, for one, never comes back once cleared.
    delete Camera::getInstance();
    ueye_sim::reset();
    EXPECT_TRUE(threads_->waitForOthersToEnd());
    app_.reset();
}

void CameraFixture::open(const std::string& sensor) {
    ASSERT_TRUE(ueye_sim::connectCamera(sensor));
    camera()->init();
}

std::string argumentsOf(const std::string& function) {
    for (const auto& record : ueye_sim::callLog())
        if (record.function == function) return record.arguments.substr(record.arguments.find(", ") + 2);
    return "(not called)";
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

std::string thrownText(const std::function<void()>& action) {
    try {
        action();
        return "";
    } catch (const Qel::Exception& e) {
        const int severity = e.getSeverity();
        return e.getMessage().str() + (severity == 10 ? "" : " (severity " + std::to_string(severity) + ")");
    } catch (const std::exception& e) {
        return std::string("other exception: ") + e.what();
    } catch (...) {
        return "other exception";
    }
}

void expectSdkFailure(const std::function<void()>& action, const std::string& function, long status) {
    EXPECT_EQ(thrownText(action), sdkFailureText(function, status));
}

}  // namespace testsupport
