// A save and a load of the whole configuration, as OK in the editor does.
#include <benchmark/benchmark.h>

#include "bench/noop_platform.h"
#include "config/config_file.h"
#include "config/config_path.h"

namespace {

void BM_SaveLoadRoundTrip(benchmark::State& state)
{
    SetDefaultConfigPath();
    for (auto _ : state) {
        SaveConfig();
        benchmark::DoNotOptimize(LoadConfig());
    }
}
BENCHMARK(BM_SaveLoadRoundTrip);

}  // namespace
