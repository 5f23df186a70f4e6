// The fast greedy matching of Text_Distance_Unit against the literal one
// (tests/analysis/Text_Distance_Reference.h), in the same run, on random pairs of
// lowercase letters and blanks; the fast one alone on longer pairs; its growth over
// 2,000 to 20,000 characters of English-like text; and whole runs of this build's
// kavelin-cli text-distance, against an earlier kavelin-cli named by
// KAVELIN_LANDED_CLI, with their peak memory.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Text_Distance_bench kavelin-cli
//   KAVELIN_LANDED_CLI=/path/to/earlier/kavelin-cli build-bench/bench/Text_Distance_bench
//
// Counters: "ratio" literal over fast time; "exponent" the slope of log time over
// log length (2 for a cost growing with the square of the length, 3 with its cube);
// "time_ratio" and "memory_ratio" the earlier tool's processor time and peak memory
// over this one's, each pair of runs taken in turn; "peak_MB" a run's peak memory.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "analysis/Text_Distance_Reference.h"
#include "analysis/Text_Distance_Unit.h"

extern char** environ;

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

// Two different English-like texts of `length` characters.
std::pair<std::string, std::string> ProsePair(size_t length) {
    std::mt19937 engine(static_cast<uint32_t>(length));
    std::string a = text_distance_reference::ProseLike(length, engine);
    return {a, text_distance_reference::ProseLike(length, engine)};
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

// Processor time of this process so far: on a shared machine it moves less than
// the wall clock with what else runs.
double ProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
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

// The slope of log time over log length, by least squares, on English-like pairs
// of 2,000, 5,000, 10,000 and 20,000 characters (processor time, the best of a few
// runs each).
void BM_Growth(benchmark::State& state) {
    const std::vector<size_t> lengths{2000, 5000, 10000, 20000};
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const size_t length : lengths) pairs.push_back(ProsePair(length));
    std::vector<double> best(lengths.size(), 0);
    for (auto _ : state) {
        for (size_t s = 0; s < lengths.size(); ++s) {
            const int runs = lengths[s] <= 5000 ? 5 : 1;
            for (int run = 0; run < runs; ++run) {
                const double t0 = ProcessorSeconds();
                benchmark::DoNotOptimize(TextDistanceChosenLinks(pairs[s].first, pairs[s].second));
                const double seconds = ProcessorSeconds() - t0;
                if (best[s] == 0 || seconds < best[s]) best[s] = seconds;
            }
        }
    }
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t s = 0; s < lengths.size(); ++s) {
        const double x = std::log(static_cast<double>(lengths[s]));
        const double y = std::log(best[s]);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const auto count = static_cast<double>(lengths.size());
    state.counters["exponent"] = (count * sxy - sx * sy) / (count * sxx - sx * sx);
    for (size_t s = 0; s < lengths.size(); ++s)
        state.counters["ms_" + std::to_string(lengths[s])] = 1e3 * best[s];
}

// ---- whole runs of the command-line tool ----
//
// A child's peak memory as Linux counts it starts from this process's own peak
// (the child begins as a copy of it), so these come first, while this process is
// small; "floor_MB" gives that peak.

struct TRun {
    bool ok = false;
    double seconds = 0;  // processor time, user and system
    double wallSeconds = 0;
    double peakMB = 0;
};

double OwnPeakMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// `tool` text-distance a b, its output thrown away.
TRun RunTool(const std::string& tool, const std::string& a, const std::string& b) {
    std::vector<std::string> words{tool, "text-distance", a, b};
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    TRun run;
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return run;
    run.wallSeconds = Seconds(std::chrono::steady_clock::now() - t0);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                  1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    run.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    return run;
}

// The pair of kind 0 (English-like), 1 (four letters) or 2 (one letter repeated).
std::pair<std::string, std::string> PairOfKind(int64_t kind, size_t length) {
    if (kind == 0) return ProsePair(length);
    if (kind == 1) return Pair(length, "acgt");
    return {std::string(length, 'a'), std::string(length, 'a')};
}

// This build's tool alone: its peak memory and time.
void BM_ToolPeakMemory(benchmark::State& state) {
    const auto [a, b] = PairOfKind(state.range(0), static_cast<size_t>(state.range(1)));
    TRun run;
    for (auto _ : state) {
        run = RunTool(KAVELIN_CLI, a, b);
        if (!run.ok) state.SkipWithError("kavelin-cli text-distance failed");
    }
    state.counters["peak_MB"] = run.peakMB;
    state.counters["cpu_s"] = run.seconds;
    state.counters["floor_MB"] = OwnPeakMB();
}

// The earlier tool and this one in turn on the same pair.
void BM_AgainstLanded(benchmark::State& state) {
    const char* landed = std::getenv("KAVELIN_LANDED_CLI");
    if (landed == nullptr || *landed == '\0') {
        state.SkipWithError("set KAVELIN_LANDED_CLI to an earlier kavelin-cli to compare with");
        return;
    }
    const auto [a, b] = PairOfKind(state.range(0), static_cast<size_t>(state.range(1)));
    TRun before, now;
    for (auto _ : state) {
        before = RunTool(landed, a, b);
        now = RunTool(KAVELIN_CLI, a, b);
        if (!before.ok || !now.ok) state.SkipWithError("a kavelin-cli text-distance failed");
    }
    state.counters["time_ratio"] = before.seconds / now.seconds;
    state.counters["wall_ratio"] = before.wallSeconds / now.wallSeconds;
    state.counters["memory_ratio"] = before.peakMB / now.peakMB;
    state.counters["landed_s"] = before.seconds;
    state.counters["new_s"] = now.seconds;
    state.counters["landed_peak_MB"] = before.peakMB;
    state.counters["peak_MB"] = now.peakMB;
    state.counters["floor_MB"] = OwnPeakMB();
}

}  // namespace

// Kind (0 English-like, 1 four letters, 2 one letter) and length.
BENCHMARK(BM_ToolPeakMemory)
    ->Args({0, 20000})
    ->Args({1, 20000})
    ->Args({2, 20000})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_AgainstLanded)
    ->Args({0, 5000})
    ->Args({0, 20000})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_Fast)->Arg(50)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralOverFast)->Arg(50)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastDistance)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastFourLetters)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastOneLetter)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Growth)->Iterations(1)->Unit(benchmark::kSecond);
