// Steps per second of the SAT search: the solver with its running decided count
// against the recounting reference (tests/solvers/Sat_Reference.h), in the same
// run, on the page's default problem (80 clauses, 24 variables, 10 to 16 literals)
// and on random 3-SAT at 50 variables / 218 clauses and 200 / 900; then the
// solver with its grid laid out, coloured and every cell drawn after each step,
// on an in-memory grid control of the page grid's size.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Sat_bench && build-bench/bench/Sat_bench
#include <benchmark/benchmark.h>

#include "common/Random_Source.h"
#include "solvers/SATSolver_Unit.h"
#include "solvers/Sat_Reference.h"
#include "support/Memory_Grid_Control.h"

namespace {

TSatProblem Problem(const benchmark::State& state) {
    RandomSeed(static_cast<uint64_t>(state.range(0) * 7919 + state.range(1)));
    return RandomSatProblem(
        static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)),
        static_cast<int32_t>(state.range(2)), static_cast<int32_t>(state.range(3)));
}

void Count(benchmark::State& state) {
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Starts a solved search again from the first values, so that every iteration is
// a step of a search under way and both sides walk the same way.
void Restart(TSatSolver& solver, const std::vector<double>& values) {
    for (size_t v = 1; v < values.size(); ++v) solver.SetValue(static_cast<int32_t>(v), values[v]);
}

void BM_RunningCount(benchmark::State& state) {
    const TSatProblem problem = Problem(state);
    TSatSolver solver(nullptr);
    solver.LoadProblem(problem);
    const std::vector<double> start = solver.Values();
    for (auto _ : state) {
        solver.Step();
        if (solver.IsFinished()) Restart(solver, start);
    }
    Count(state);
}

void BM_LiteralRecount(benchmark::State& state) {
    const TSatProblem problem = Problem(state);
    TSatSolver start(nullptr);
    start.LoadProblem(problem);
    TReferenceSat reference{problem.Clauses, start.Values()};
    for (auto _ : state) {
        reference.Step();
        if (reference.IsFinished()) reference.Values = start.Values();
    }
    Count(state);
}

void BM_StepWithGridDrawn(benchmark::State& state) {
    const TSatProblem problem = Problem(state);
    TMemoryGridControl control(5, 5, 1, 1, 401, 393);
    TSatSolver solver(&control);
    solver.LoadProblem(problem);
    const std::vector<double> start = solver.Values();
    for (auto _ : state) {
        solver.Step();
        for (int32_t row = 0; row < control.RowCount(); ++row)
            for (int32_t col = 0; col < control.ColCount(); ++col) control.DrawCell(col, row);
        if (solver.IsFinished()) Restart(solver, start);
    }
    Count(state);
}

void Shapes(benchmark::internal::Benchmark* b) {
    b->Args({80, 24, 10, 16})->Args({218, 50, 3, 3})->Args({900, 200, 3, 3});
}

}  // namespace

BENCHMARK(BM_RunningCount)->Apply(Shapes);
BENCHMARK(BM_LiteralRecount)->Apply(Shapes);
BENCHMARK(BM_StepWithGridDrawn)->Args({80, 24, 10, 16});
