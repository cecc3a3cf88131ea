// JPEG encoding and writing of one frame through isavi_AddFrame, at the
// camera sizes: what a recording tick costs in the AVI tools; beside it bare
// tjCompress2 on the same frames, the floor of that cost.
#include "AviBenchFrames.h"

#include "ueye.h"

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <unistd.h>
#include <chrono>
#include <memory>

namespace {

constexpr int quality = 50;  // what the camera module asks for

void addFrame(benchmark::State& state, int width, int height, bool color) {
    auto frame = avibench::makeFrame(width, height, color);
    const std::string path = "/tmp/bench_avi_" + std::to_string(getpid()) + "_" + std::to_string(width) + ".avi";
    avibench::AviSession avi(path, width, height, quality, 25.0);
    if (!avi.ok()) {
        state.SkipWithError("could not start the AVI file");
        return;
    }
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        if (isavi_AddFrame(avi.id(), frame.data()) != IS_AVI_NO_ERR) {
            state.SkipWithError("isavi_AddFrame failed");
            break;
        }
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - begin;
    const auto frames = static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations());
    state.counters["max_fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["ms_per_frame"] = benchmark::Counter(elapsed.count(), benchmark::Counter::kAvgIterations);
    state.counters["Mpixel_per_s"] = benchmark::Counter(frames * width * height / 1e6, benchmark::Counter::kIsRate);
    float kb = 0.0f;
    if (isavi_GetAVISize(avi.id(), &kb) == IS_AVI_NO_ERR && frames > 0) state.counters["kB_per_frame"] = kb / frames;
}

// The encoder's own settings: BGR in, 4:2:0, one output buffer reused.
void compressOnly(benchmark::State& state, int width, int height, bool color) {
    const auto frame = avibench::makeFrame(width, height, color);
    const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    const unsigned long bound = tjBufSize(width, height, TJSAMP_420);
    const std::unique_ptr<unsigned char, void (*)(unsigned char*)> out(tjAlloc(static_cast<int>(bound)), tjFree);
    const auto* pixels = reinterpret_cast<const unsigned char*>(frame.data());
    unsigned long bytes = 0;
    for (auto _ : state) {
        unsigned char* target = out.get();
        bytes = bound;
        if (tjCompress2(encoder.get(), pixels, width, width * 3, height, TJPF_BGR, &target, &bytes, TJSAMP_420, quality,
                        TJFLAG_NOREALLOC) != 0) {
            state.SkipWithError("tjCompress2 failed");
            break;
        }
        benchmark::DoNotOptimize(target);
    }
    state.counters["kB_per_frame"] = static_cast<double>(bytes) / 1024.0;
}

void BM_AddFrame_1280x1024_Color(benchmark::State& state) { addFrame(state, 1280, 1024, true); }
void BM_AddFrame_2592x1944_Color(benchmark::State& state) { addFrame(state, 2592, 1944, true); }
void BM_AddFrame_4912x3684_Grey(benchmark::State& state) { addFrame(state, 4912, 3684, false); }
void BM_TjCompress_1280x1024_Color(benchmark::State& state) { compressOnly(state, 1280, 1024, true); }
void BM_TjCompress_2592x1944_Color(benchmark::State& state) { compressOnly(state, 2592, 1944, true); }
void BM_TjCompress_4912x3684_Grey(benchmark::State& state) { compressOnly(state, 4912, 3684, false); }

}  // namespace

BENCHMARK(BM_AddFrame_1280x1024_Color)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddFrame_2592x1944_Color)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddFrame_4912x3684_Grey)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TjCompress_1280x1024_Color)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TjCompress_2592x1944_Color)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TjCompress_4912x3684_Grey)->Unit(benchmark::kMillisecond)->UseRealTime();
