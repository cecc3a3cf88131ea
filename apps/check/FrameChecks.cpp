// The frame stream: whole frames, each numbered, timed and counted, that need
// no known scene to check.
#include "Checks.h"
#include "Session.h"

#include <Nimbrel_model/FrameStream.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace check {

namespace {

using Nimbrel_model::Camera;
using Nimbrel_model::Frame;
using Nimbrel_model::FrameStream;
using namespace std::chrono_literals;

FrameStream& stream() { return *FrameStream::getInstance(); }

// Long enough for the slowest camera's frame several times over.
std::chrono::milliseconds frameWait(const Camera& camera) {
    const double rate = camera.getFrameRate();
    const auto period = std::chrono::milliseconds(rate > 0 ? static_cast<long>(1000.0 / rate) : 1000);
    return std::max(std::chrono::milliseconds(2000), 5 * period);
}

// Takes `count` frames; fails on a missing frame, a sequence number that does
// not rise, or frames of another size than the area.
std::vector<Frame> take(const Camera& camera, int count) {
    std::vector<Frame> frames;
    const auto wait = frameWait(camera);
    for (int i = 0; i < count; ++i) {
        std::optional<Frame> frame = stream().next(wait);
        expect(frame.has_value(), "frame " + std::to_string(i + 1) + " of " + std::to_string(count) +
                                      " did not come within " + std::to_string(wait.count()) + " ms");
        expect(frame->width() == camera.getWidth() && frame->height() == camera.getHeight(),
               "a frame of " + std::to_string(frame->width()) + " x " + std::to_string(frame->height()) +
                   " from an area of " + std::to_string(camera.getWidth()) + " x " +
                   std::to_string(camera.getHeight()));
        if (!frames.empty())
            expect(frame->sequence() > frames.back().sequence(), "frame number " + std::to_string(frame->sequence()) +
                                                                     " after " +
                                                                     std::to_string(frames.back().sequence()));
        frames.push_back(*std::move(frame));
    }
    return frames;
}

// A quarter of the sensor at the highest rate, so that the counts take seconds
// on any camera; the area and rate are put back afterwards.
void countsOnASmallArea(Camera& camera, const std::function<void()>& body) {
    const int width = camera.getWidth(), height = camera.getHeight();
    const double rate = camera.getFrameRate();
    withUndo(
        [&] {
            camera.setAOI(camera.getMaxWidth() / 4, camera.getMaxHeight() / 4);
            camera.setFrameRate(1e6);
            body();
        },
        [&] {
            camera.setAOI(width, height);
            camera.setFrameRate(rate);
        });
}

void exactCounts(Session& session) {
    Camera& camera = session.open();
    countsOnASmallArea(camera, [&] {
        for (const int count : {1, 2, 3, 5, 8, 89}) {
            withUndo(
                [&] {
                    stream().start();
                    const std::vector<Frame> frames = take(camera, count);
                    const std::uint64_t span = frames.back().sequence() - frames.front().sequence() + 1;
                    expect(stream().delivered() == static_cast<std::uint64_t>(count),
                           "delivered() says " + std::to_string(stream().delivered()) + " after " +
                               std::to_string(count) + " frames");
                    // Frames the stream let go between the first and the last one taken.
                    expect(span <= static_cast<std::uint64_t>(count) + stream().dropped(),
                           "frame numbers span " + std::to_string(span) + " for " + std::to_string(count) +
                               " frames and " + std::to_string(stream().dropped()) + " dropped");
                },
                [] { stream().stop(); });
        }
    });
}

void rateFromTimestamps(Session& session) {
    const Camera& camera = session.open();
    const double rate = camera.getFrameRate();
    const int count = std::max(10, std::min(60, static_cast<int>(rate * 2)));
    withUndo(
        [&] {
            stream().start();
            const std::vector<Frame> frames = take(camera, count);
            const double seconds = static_cast<double>(frames.back().deviceTime() - frames.front().deviceTime()) * 1e-9;
            const auto frameSteps = static_cast<double>(frames.back().sequence() - frames.front().sequence());
            expect(seconds > 0, "device timestamps do not rise");
            const double measured = frameSteps / seconds;
            expect(near(measured, rate, 0.05, 0.0),
                   "device timestamps give " + show(measured) + " fps; getFrameRate() says " + show(rate));
        },
        [] { stream().stop(); });
}

void noDropAtFullRate(Session& session) {
    Camera& camera = session.open();
    const double before = camera.getFrameRate();
    withUndo(
        [&] {
            camera.setFrameRate(1e6);  // the camera's highest rate for this exposure
            const double rate = camera.getFrameRate();
            // A machine busy elsewhere can keep the stream's thread from its
            // frame now and then; a stream too slow for the camera drops in
            // every run.
            std::uint64_t fewest = 0;
            for (int run = 0; run < 3; ++run) {
                stream().start();
                take(camera, std::max(30, static_cast<int>(rate)));
                fewest = run == 0 ? stream().dropped() : std::min(fewest, stream().dropped());
                stream().stop();
                if (fewest == 0) break;
            }
            expect(fewest == 0, std::to_string(fewest) + " frames dropped at " + show(rate) +
                                    " fps with a consumer that only takes frames (the best of three runs)");
        },
        [&] {
            stream().stop();
            camera.setFrameRate(before);
        });
}

void startStopCycles(Session& session) {
    const Camera& camera = session.open();
    for (int cycle = 1; cycle <= 3; ++cycle) {
        stream().start();
        expect(stream().isRunning(), "the stream is not running after start() in cycle " + std::to_string(cycle));
        take(camera, 3);
        stream().stop();
        expect(!stream().isRunning(), "the stream still runs after stop() in cycle " + std::to_string(cycle));
        expect(!stream().next(0ms).has_value(), "a frame came after stop() in cycle " + std::to_string(cycle));
    }
}

void exitWhileWaiting(Session& session) {
    Camera& camera = session.open();
    stream().start();
    take(camera, 1);
    std::atomic<bool> returned{false};
    std::atomic<int> framesAfter{0};
    std::thread consumer([&] {
        try {
            while (stream().next(10s)) ++framesAfter;
        } catch (...) {
        }
        returned = true;
    });
    std::this_thread::sleep_for(100ms);
    session.close();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!returned && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
    const bool woke = returned;
    if (!woke) stream().stop();  // whatever the module did, let the consumer go
    consumer.join();
    expect(woke, "a consumer waiting in next() was still waiting 5 s after exit()");
    expect(!stream().isRunning(), "the stream still runs after exit()");
}

}  // namespace

std::vector<Check> frameChecks() {
    return {
        {"frame-counts", "the stream gives exactly 1, 2, 3, 5, 8 and 89 frames, numbered upward", exactCounts},
        {"frame-timestamps", "the device timestamps give the camera's frame rate within 5 %", rateFromTimestamps},
        {"frame-no-drop", "no frame is dropped at the camera's highest rate with the default queue", noDropAtFullRate},
        {"frame-cycles", "three start/stop cycles of the stream", startStopCycles},
        {"frame-exit", "exit() wakes a consumer waiting for a frame and stops the stream", exitWhileWaiting},
    };
}

}  // namespace check
