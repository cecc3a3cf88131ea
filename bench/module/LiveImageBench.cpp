// getActiveImage on a monochrome camera (one allocation, one expanding pass)
// beside memcpy of the same output bytes, into memory already touched and into
// a fresh new[] block.
#include <Nimbrel_model/Camera.h>
#include <Nimbrel_model/Config.h>
#include <benchmark/benchmark.h>
#include <ueye_sim/Control.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "BenchConfig.h"

namespace {

const char* sensorFor(int width) { return width == 1280 ? "SIM1280-M" : "SIM4912-M"; }

void BM_GetActiveImageMono(benchmark::State& state) {
    prepareBenchConfig();
    ueye_sim::reset();
    ueye_sim::connectCamera(sensorFor(static_cast<int>(state.range(0))));
    auto* camera = Nimbrel_model::Camera::getInstance();
    camera->init();
    camera->setFrameRate(1.0);  // keep the capture thread out of the measurement
    ueye_sim::waitFrames(1, 5000);
    const std::size_t bytes = static_cast<std::size_t>(camera->getMaxWidth()) * camera->getMaxHeight() * 3;
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> image(camera->getActiveImage());
        benchmark::DoNotOptimize(image.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    camera->exit();
}

std::size_t outputBytes(const benchmark::State& state) {
    const std::size_t width = static_cast<std::size_t>(state.range(0));
    return width * (width == 1280 ? 1024 : 3684) * 3;
}

void BM_MemcpyWarmOutput(benchmark::State& state) {
    const std::size_t bytes = outputBytes(state);
    std::vector<unsigned char> source(bytes, 7);
    std::vector<unsigned char> out(bytes, 0);
    for (auto _ : state) {
        std::memcpy(out.data(), source.data(), bytes);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_MemcpyFreshOutput(benchmark::State& state) {
    const std::size_t bytes = outputBytes(state);
    std::vector<unsigned char> source(bytes, 7);
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> out(new unsigned char[bytes]);
        std::memcpy(out.get(), source.data(), bytes);
        benchmark::DoNotOptimize(out.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

}  // namespace

BENCHMARK(BM_GetActiveImageMono)->Arg(1280)->Arg(4912)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyWarmOutput)->Arg(1280)->Arg(4912)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyFreshOutput)->Arg(1280)->Arg(4912)->Unit(benchmark::kMillisecond)->UseRealTime();
