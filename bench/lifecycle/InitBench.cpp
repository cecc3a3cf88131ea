// Camera::init on the simulator: opening, the whole set-up and the start of
// capture, timed alone (the exit between two inits is not counted).
#include <Nimbrel_model/Camera.h>
#include <benchmark/benchmark.h>
#include <ueye_sim/Control.h>

#include <chrono>

namespace {

const char* const kSensors[] = {"SIM1280-C", "SIM2592-C", "SIM4912-M"};

void BM_CameraInit(benchmark::State& state) {
    ueye_sim::reset();
    ueye_sim::connectCamera(kSensors[state.range(0)]);
    state.SetLabel(kSensors[state.range(0)]);
    auto* camera = Nimbrel_model::Camera::getInstance();
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        camera->init();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
        state.SetIterationTime(took.count());
        camera->exit();
    }
    delete camera;  // the next sensor may be monochrome: a fresh Camera
}

}  // namespace

BENCHMARK(BM_CameraInit)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseManualTime();
