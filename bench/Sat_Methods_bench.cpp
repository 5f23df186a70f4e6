// The three SAT methods side by side on uniform random 3-SAT at 4.26 clauses per
// variable (about half of the problems satisfiable), generated here: ten
// problems for each of n = 20, 50, 100 and 250 variables. For each method and n:
// the share of the problems it answers within its budget (the relaxation and
// probSAT can only answer "satisfiable"; CaDiCaL answers both ways), and the
// median steps (relaxation steps, probSAT flips) and milliseconds of the
// answered ones; for probSAT also its flips per second over every run. The
// share of satisfiable problems, as CaDiCaL decides them, stands beside
// CaDiCaL's figures.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Sat_Methods_bench && build-bench/bench/Sat_Methods_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "common/Random_Source.h"
#include "solvers/Complete_Solver_Unit.h"
#include "solvers/ProbSat_Unit.h"
#include "solvers/SATSolver_Unit.h"
#include "solvers/Sat_Problems.h"

namespace {

constexpr int kProblems = 10;
constexpr int64_t kRelaxationSteps = 20000;
constexpr int64_t kProbSatFlips = 10000000;
constexpr double kSecondsEach = 5;

using TClock = std::chrono::steady_clock;

std::vector<TSatProblem> Problems(int32_t variables) {
    std::vector<TSatProblem> problems;
    const auto clauses = static_cast<int32_t>(variables * 4.26 + 0.5);
    for (int i = 1; i <= kProblems; ++i)
        problems.push_back(
            RandomKSat(variables, clauses, 3, static_cast<uint64_t>(variables * 100 + i)));
    return problems;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct TTally {
    int answered = 0;
    std::vector<double> steps;
    std::vector<double> ms;
    void Add(bool done, int64_t stepCount, double seconds) {
        if (!done) return;
        ++answered;
        steps.push_back(static_cast<double>(stepCount));
        ms.push_back(seconds * 1000);
    }
    void Report(benchmark::State& state) const {
        state.counters["answered_share"] = static_cast<double>(answered) / kProblems;
        state.counters["median_steps"] = Median(steps);
        state.counters["median_ms"] = Median(ms);
    }
};

double SecondsSince(TClock::time_point start) {
    return std::chrono::duration<double>(TClock::now() - start).count();
}

void BM_Relaxation(benchmark::State& state) {
    const std::vector<TSatProblem> problems = Problems(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        TTally tally;
        RandomSeed(1);
        for (const TSatProblem& problem : problems) {
            TSatSolver solver(nullptr);
            solver.LoadProblem(problem);
            const TClock::time_point start = TClock::now();
            int64_t steps = 0;
            while (!solver.IsFinished() && steps < kRelaxationSteps &&
                   (steps % 256 != 0 || SecondsSince(start) < kSecondsEach)) {
                solver.Step();
                ++steps;
            }
            tally.Add(solver.IsFinished(), steps, SecondsSince(start));
        }
        tally.Report(state);
    }
}

void BM_ProbSat(benchmark::State& state) {
    const std::vector<TSatProblem> problems = Problems(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        TTally tally;
        int64_t flips = 0;
        double seconds = 0;
        RandomSeed(1);
        for (const TSatProblem& problem : problems) {
            TProbSat search(problem);
            const TClock::time_point start = TClock::now();
            const bool solved = search.Run(kProbSatFlips, kSecondsEach);
            const double spent = SecondsSince(start);
            tally.Add(solved, search.Flips(), spent);
            flips += search.Flips();
            seconds += spent;
        }
        tally.Report(state);
        state.counters["flips_per_s"] = seconds > 0 ? static_cast<double>(flips) / seconds : 0;
    }
}

void BM_CaDiCaL(benchmark::State& state) {
    const std::vector<TSatProblem> problems = Problems(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        TTally tally;
        int satisfiable = 0;
        for (const TSatProblem& problem : problems) {
            TCompleteOptions options;
            options.TimeLimitSeconds = kSecondsEach;
            const TClock::time_point start = TClock::now();
            const TCompleteResult result = SolveComplete(problem, options);
            tally.Add(result.Verdict != TSatVerdict::Unknown, 0, SecondsSince(start));
            satisfiable += result.Verdict == TSatVerdict::Satisfiable;
        }
        tally.Report(state);
        state.counters.erase("median_steps");  // CaDiCaL tells no steps of its own
        state.counters["satisfiable_share"] = static_cast<double>(satisfiable) / kProblems;
    }
}

}  // namespace

// Each method on the four sizes, once: a run is already ten problems.
void Sizes(benchmark::internal::Benchmark* b) {
    for (const int n : {20, 50, 100, 250}) b->Arg(n);
    b->Iterations(1)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Relaxation)->Apply(Sizes);
BENCHMARK(BM_ProbSat)->Apply(Sizes);
BENCHMARK(BM_CaDiCaL)->Apply(Sizes);
