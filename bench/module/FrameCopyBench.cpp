// The frame writer's copy with the red/blue exchange into a fresh frame
// buffer, beside memcpy of the same bytes into memory already touched (the
// bandwidth limit) and into a fresh new[] block (page faults included).
#include <benchmark/benchmark.h>

#include "core/PixelOps.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

std::size_t heightFor(std::size_t width) { return width == 1280 ? 1024 : width == 2592 ? 1944 : 3684; }

void BM_CopySwapRedBlue(benchmark::State& state) {
    const std::size_t pixels = static_cast<std::size_t>(state.range(0)) * heightFor(state.range(0));
    std::vector<unsigned char> image(pixels * 3, 9);
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> frame(Nimbrel_model::allocateFrame(pixels * 3));
        Nimbrel_model::copySwapRedBlue(frame.get(), image.data(), pixels);
        benchmark::DoNotOptimize(frame.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * pixels * 3));
}

void BM_MemcpyFreshFrame(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) * heightFor(state.range(0)) * 3;
    std::vector<unsigned char> image(bytes, 9);
    for (auto _ : state) {
        std::unique_ptr<unsigned char[]> frame(new unsigned char[bytes]);
        std::memcpy(frame.get(), image.data(), bytes);
        benchmark::DoNotOptimize(frame.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_MemcpyWarmFrame(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) * heightFor(state.range(0)) * 3;
    std::vector<unsigned char> image(bytes, 9);
    std::vector<unsigned char> frame(bytes, 0);
    for (auto _ : state) {
        std::memcpy(frame.data(), image.data(), bytes);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

}  // namespace

BENCHMARK(BM_MemcpyWarmFrame)->Arg(1280)->Arg(2592)->Arg(4912)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CopySwapRedBlue)->Arg(1280)->Arg(2592)->Arg(4912)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemcpyFreshFrame)->Arg(1280)->Arg(2592)->Arg(4912)->Unit(benchmark::kMillisecond)->UseRealTime();
