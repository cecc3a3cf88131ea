// One writing Config operation: the whole file saved and synced.
#include <Nimbrel_model/Config.h>
#include <benchmark/benchmark.h>

namespace {

void BM_ConfigSave(benchmark::State& state) {
    auto* config = Nimbrel_model::Config::getInstance();
    long gain = 0;
    for (auto _ : state) config->setUserMasterGain("SIM1280-C", ++gain % 100);
    config->clearUserSettings("SIM1280-C");
}

// A whole preset as saveUserSettings writes it: nine values, nine saves.
void BM_ConfigSavePreset(benchmark::State& state) {
    auto* config = Nimbrel_model::Config::getInstance();
    const Nimbrel_model::Config::hstring camera = "SIM1280-C";
    for (auto _ : state) {
        config->setUserMasterGain(camera, 10);
        config->setUserRedGain(camera, 20);
        config->setUserGreenGain(camera, 30);
        config->setUserBlueGain(camera, 40);
        config->setUserAutoGain(camera, false);
        config->setUserBrightness(camera, 100);
        config->setUserExposure(camera, 12.5);
        config->setUserFramerate(camera, 25.0);
        config->setUserSizes(camera, 640, 480);
    }
    config->clearUserSettings(camera);
}

}  // namespace

BENCHMARK(BM_ConfigSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ConfigSavePreset)->Unit(benchmark::kMillisecond)->UseRealTime();
