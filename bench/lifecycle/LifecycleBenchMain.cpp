// wx must be up before the Camera exists (its timer needs an application).
#include <benchmark/benchmark.h>
#include <wx/init.h>

#include "BenchAppFolder.h"

int main(int argc, char** argv) {
    wxInitializer wx;
    if (!wx.IsOk()) return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    lifecyclebench::AppFolder folder;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
