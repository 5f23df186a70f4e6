// The fast greedy matching of Text_Distance_Unit against the literal one
// (tests/analysis/Text_Distance_Reference.h), in the same run, on random
// pairs of lowercase letters and blanks; and the fast one alone on longer pairs.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Text_Distance_bench && build-bench/bench/Text_Distance_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <utility>

#include "analysis/Text_Distance_Reference.h"
#include "analysis/Text_Distance_Unit.h"

namespace {

// A fixed pair of texts of `length` symbols drawn uniformly from `alphabet`.
std::pair<std::string, std::string> Pair(size_t length, const std::string& alphabet,
                                         uint32_t seed = 1) {
    std::mt19937 engine(seed + static_cast<uint32_t>(length));
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::string a, b;
    for (size_t k = 0; k < length; ++k) a += alphabet[pick(engine)];
    for (size_t k = 0; k < length; ++k) b += alphabet[pick(engine)];
    return {a, b};
}

// Letters and a blank, 27 symbols.
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

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Both on the same pair in each iteration: the literal matching once, the fast one
// as often as it takes to fill a tenth of the literal's time; the counter "ratio"
// is literal time over fast time.
void BM_LiteralOverFast(benchmark::State& state) {
    const auto [a, b] = Pair(static_cast<size_t>(state.range(0)), kText);
    double literalSeconds = 0;
    double fastSeconds = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        const size_t literal = text_distance_reference::ChosenLinks(a, b).size();
        const auto t1 = std::chrono::steady_clock::now();
        int repeats = 0;
        auto t2 = t1;
        do {
            if (TextDistanceChosenLinks(a, b).size() != literal)
                state.SkipWithError("results differ");
            ++repeats;
            t2 = std::chrono::steady_clock::now();
        } while (Seconds(t2 - t1) < Seconds(t1 - t0) / 10);
        literalSeconds += Seconds(t1 - t0);
        fastSeconds += Seconds(t2 - t1) / repeats;
    }
    state.counters["literal_ms"] = 1e3 * literalSeconds / static_cast<double>(state.iterations());
    state.counters["fast_us"] = 1e6 * fastSeconds / static_cast<double>(state.iterations());
    state.counters["ratio"] = literalSeconds / fastSeconds;
}

void BM_Fast(benchmark::State& state) {
    Fast(state, kText);
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
BENCHMARK(BM_LiteralOverFast)->Arg(50)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastDistance)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastFourLetters)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastOneLetter)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
