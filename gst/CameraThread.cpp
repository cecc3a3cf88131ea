#include "CameraThread.h"

#include "ConsoleApp.h"
#include "EventPump.h"

#include <Nimbrel_model/Camera.h>

#include <wx/thread.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <future>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace nimbrel_gst {

namespace {

struct PendingCall {
    std::mutex mutex;
    std::condition_variable finished;
    bool started = false;
    bool done = false;
    bool withdrawn = false;
    std::exception_ptr failure;
};

// Our own wx main thread, for processes without a wx application: started on
// first use, ended at exit (the plugin's statics go before the libraries'),
// so that wx is cleaned up on the thread that started it.
class OwnThread {
public:
    void start() {
        std::promise<void> ready;
        std::future<void> started = ready.get_future();
        thread_ = std::thread([this, &ready] { run(ready); });
        started.get();
    }
    ~OwnThread() {
        if (!thread_.joinable()) return;
        stop_ = true;
        thread_.join();
    }

private:
    void run(std::promise<void>& ready) {
        std::unique_ptr<host::ApplicationScope> scope;
        try {
            scope = std::make_unique<host::ApplicationScope>();
        } catch (...) {
            ready.set_exception(std::current_exception());
            return;
        }
        {
            host::EventPump pump({}, std::chrono::milliseconds(50));
            ready.set_value();
            pump.runUntil([this] { return stop_.load(); }, host::EventPump::Action{});
        }
        // A camera a pipeline left open: its timer belongs to wx, and goes first.
        delete Nimbrel_model::Camera::getInstance();
    }

    std::thread thread_;
    std::atomic<bool> stop_{false};
};

OwnThread ownThread;

void ensureApplication() {
    static std::once_flag once;
    static std::exception_ptr failure;
    std::call_once(once, [] {
        if (wxAppConsole::GetInstance()) return;  // a wx application runs already (wxPython)
        try {
            ownThread.start();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    if (failure) std::rethrow_exception(failure);
}

}  // namespace

bool runOnCameraThread(const std::function<void()>& call, const std::function<bool()>& abandon) {
    ensureApplication();
    if (wxIsMainThread()) {
        call();
        return true;
    }
    auto pending = std::make_shared<PendingCall>();
    host::application().CallAfter([pending, call] {
        {
            std::lock_guard lock(pending->mutex);
            if (pending->withdrawn) return;
            pending->started = true;
        }
        std::exception_ptr failure;
        try {
            call();
        } catch (...) {
            failure = std::current_exception();
        }
        std::lock_guard lock(pending->mutex);
        pending->failure = failure;
        pending->done = true;
        pending->finished.notify_all();
    });
    std::unique_lock lock(pending->mutex);
    while (!pending->done) {
        pending->finished.wait_for(lock, std::chrono::milliseconds(5));
        if (!pending->done && abandon && abandon()) {
            if (!pending->started) pending->withdrawn = true;
            return false;
        }
    }
    if (pending->failure) std::rethrow_exception(pending->failure);
    return true;
}

}  // namespace nimbrel_gst
