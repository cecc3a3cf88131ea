// The frame stream: its cost per frame beside a warm memcpy of the frame's
// bytes and beside a consumer's copy of a frame just arrived in memory, the
// time from a frame's device timestamp to next() returning, and the frames
// dropped at each camera's highest rate by a consumer that only takes
// frames. Figures are counters of one run.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>
#include <Nimbrel_model/FrameStream.h>
#include <benchmark/benchmark.h>
#include <ueye_sim/Control.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchConfig.h"
#include "Measures.h"

namespace {

using namespace std::chrono_literals;
using Nimbrel_model::Camera;
using Nimbrel_model::FrameStream;

Camera* openAtHighestRate(const char* sensor) {
    prepareBenchConfig();
    ueye_sim::reset();
    ueye_sim::connectCamera(sensor);
    Camera* camera = Camera::getInstance();
    camera->init();
    camera->setFrameRate(1000.0);
    return camera;
}

const char* const kSensors[] = {"SIM1280-C", "SIM1280-M", "SIM2592-C", "SIM4912-M", "SIM1284-C", "SIM1284-M"};

// Cost per frame: the stream thread's processor time per frame it handled,
// beside the median of warm copies of the same number of bytes, and of
// copies of a frame just arrived, by a thread woken for it at the camera's
// rate: what any consumer of the camera's frames pays for one copy.
void BM_StreamCostPerFrame(benchmark::State& state) {
    const char* sensor = kSensors[state.range(0)];
    Camera* camera = openAtHighestRate(sensor);
    const std::size_t bytes =
        static_cast<std::size_t>(camera->getMaxWidth()) * camera->getMaxHeight() * (camera->isColor() ? 3 : 1);
    const double copy = bench::warmMemcpyNanoseconds(bytes);
    const double arrived =
        bench::arrivedCopyNanoseconds(bytes, std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                 std::chrono::duration<double>(1.0 / camera->getFrameRate())));
    FrameStream* stream = FrameStream::getInstance();
    stream->start();
    (void)stream->next(2s);
    const double before = bench::threadNanoseconds("nimbrel-stream");
    const std::uint64_t first = stream->delivered() + stream->dropped();
    for (auto _ : state) benchmark::DoNotOptimize(stream->next(2s));
    const double spent = bench::threadNanoseconds("nimbrel-stream") - before;
    const auto frames = static_cast<double>(stream->delivered() + stream->dropped() - first);
    stream->stop();
    camera->exit();
    const double perFrame = frames > 0 ? spent / frames : 0;
    state.counters["megapixels"] = static_cast<double>(bytes / (camera->isColor() ? 3 : 1)) / 1e6;
    state.counters["stream_ms_per_frame"] = perFrame / 1e6;
    state.counters["memcpy_ms"] = copy / 1e6;
    state.counters["ratio_to_memcpy"] = perFrame / copy;
    state.counters["arrived_copy_ms"] = arrived / 1e6;
    state.counters["ratio_to_arrived_copy"] = perFrame / arrived;
    state.SetLabel(sensor);
}

// From a frame's device timestamp (the steady clock in the simulator) to
// next() handing it out, with the consumer waiting.
void BM_StreamLatency(benchmark::State& state) {
    Camera* camera = openAtHighestRate("SIM1280-C");
    FrameStream* stream = FrameStream::getInstance();
    stream->start();
    std::vector<double> latencies;
    for (auto _ : state) {
        const auto frame = stream->next(2s);
        const auto now = std::chrono::steady_clock::now();
        if (!frame) continue;
        latencies.push_back(static_cast<double>(now.time_since_epoch().count()) -
                            static_cast<double>(frame->deviceTime()));
    }
    stream->stop();
    camera->exit();
    state.counters["median_ms"] = bench::medianOf(latencies) / 1e6;
    state.counters["worst_ms"] = latencies.empty() ? 0 : *std::max_element(latencies.begin(), latencies.end()) / 1e6;
}

// A consumer that only takes frames for NIMBREL_STREAM_SECONDS (default 5).
void BM_StreamDropsAtHighestRate(benchmark::State& state) {
    const char* sensor = kSensors[state.range(0)];
    const char* wanted = std::getenv("NIMBREL_STREAM_SECONDS");
    const auto length = std::chrono::duration<double>(wanted ? std::atof(wanted) : 5.0);
    Camera* camera = openAtHighestRate(sensor);
    const double rate = camera->getFrameRate();
    FrameStream* stream = FrameStream::getInstance();
    for (auto _ : state) {
        stream->start();
        const auto end = std::chrono::steady_clock::now() + length;
        while (std::chrono::steady_clock::now() < end) benchmark::DoNotOptimize(stream->next(1s));
        state.counters["delivered"] = static_cast<double>(stream->delivered());
        state.counters["dropped"] = static_cast<double>(stream->dropped());
        stream->stop();
    }
    camera->exit();
    state.counters["fps"] = rate;
    state.SetLabel(sensor);
}

}  // namespace

BENCHMARK(BM_StreamCostPerFrame)->Arg(0)->Arg(2)->Arg(3)->Iterations(60)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StreamLatency)->Iterations(300)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StreamDropsAtHighestRate)->DenseRange(0, 5)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
