// FindMax of CourbeMaxFinder: 1500 members, 125 generations; with a
// plain loop that makes and frees as many reals as the search does, for scale.
//
//   ninja -C build-bench Genetic_bench && build-bench/bench/Genetic_bench
#include <benchmark/benchmark.h>

#include <memory>

#include "common/Random_Source.h"
#include "solvers/CourbeMaxFinder.h"

namespace {

void BM_FindMax(benchmark::State& state) {
    SetFixedSeed(std::nullopt);  // from the clock, as the page runs it
    for (auto _ : state) {
        TMaxFinder finder;
        benchmark::DoNotOptimize(finder.FindMax());
    }
}

// 1500 + 125 x (1200 + 1050) individuals made and freed, and as many draws.
void BM_AllocationsOfFindMax(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0;
        for (int k = 0; k < 1500 + 125 * (1200 + 1050); ++k) {
            auto real = std::make_unique<TMyReal>(static_cast<double>(RandomInt(50)));
            sum += real->Val;
        }
        benchmark::DoNotOptimize(sum);
    }
}

}  // namespace

BENCHMARK(BM_FindMax)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_AllocationsOfFindMax)->Unit(benchmark::kMillisecond);
