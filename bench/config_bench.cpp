// A save and a load of the whole configuration, as OK in the editor does.
#include <benchmark/benchmark.h>

#include "bench/noop_platform.h"
#include "config/config_file.h"
#include "config/config_path.h"

namespace {

void BM_SaveLoadRoundTrip(benchmark::State& state)
{
    char path[kPathSize];
    DefaultConfigPath(path);
    Configuration config;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveConfig(path, config));
        benchmark::DoNotOptimize(LoadConfig(path, config));
    }
}
BENCHMARK(BM_SaveLoadRoundTrip);

}  // namespace
