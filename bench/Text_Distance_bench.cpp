// The fast greedy matching of Text_Distance_Unit against the literal one
// (tests/analysis/Text_Distance_Reference.h), in the same run, on random
// pairs of lowercase letters and blanks; and the fast one alone on longer pairs.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Text_Distance_bench && build-bench/bench/Text_Distance_bench
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <utility>

#include "analysis/Text_Distance_Reference.h"
#include "analysis/Text_Distance_Unit.h"

namespace {

// Letters and a blank, 27 symbols, uniformly: a fixed pair for each length and alphabet.
std::pair<std::string, std::string> Pair(size_t length, const std::string& alphabet,
                                         uint32_t seed = 1) {
    std::mt19937 engine(seed + static_cast<uint32_t>(length));
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string a, b;
    for (size_t k = 0; k < length; ++k) a += alphabet[pick(engine)];
    for (size_t k = 0; k < length; ++k) b += alphabet[pick(engine)];
    return {a, b};
}

const std::string kText = "abcdefghijklmnopqrstuvwxyz ";

void Fast(benchmark::State& state, const std::string& alphabet) {
    const auto [a, b] = Pair(static_cast<size_t>(state.range(0)), alphabet);
    size_t kept = 0;
    for (auto _ : state) {
        kept = TextDistanceChosenLinks(a, b).size();
        benchmark::DoNotOptimize(kept);
    }
    state.counters["kept"] = static_cast<double>(kept);
}

void Literal(benchmark::State& state, const std::string& alphabet) {
    const auto [a, b] = Pair(static_cast<size_t>(state.range(0)), alphabet);
    size_t kept = 0;
    for (auto _ : state) {
        kept = text_distance_reference::ChosenLinks(a, b).size();
        benchmark::DoNotOptimize(kept);
    }
    state.counters["kept"] = static_cast<double>(kept);
}

void BM_Fast(benchmark::State& state) {
    Fast(state, kText);
}
void BM_Literal(benchmark::State& state) {
    Literal(state, kText);
}
// Four letters: four times the links of the same length.
void BM_FastFourLetters(benchmark::State& state) {
    Fast(state, "acgt");
}
// One letter repeated: every pair of positions is a link, the worst case.
void BM_FastOneLetter(benchmark::State& state) {
    Fast(state, "a");
}

// The page's own call, score included.
void BM_FastDistance(benchmark::State& state) {
    const auto [a, b] = Pair(static_cast<size_t>(state.range(0)), kText);
    TTextDistanceManager manager;
    for (auto _ : state) benchmark::DoNotOptimize(manager.Distance(a, b));
}

}  // namespace

BENCHMARK(BM_Fast)->Arg(50)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Literal)->Arg(50)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastDistance)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastFourLetters)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastOneLetter)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
