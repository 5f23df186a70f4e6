// Steps per second of the SAT page's solve loop with the real windows under the
// offscreen platform: each step lets the pending messages run (painting what is
// invalid), steps the solver, which redraws the grid cell by cell through its
// wrapper, and rewrites the trace window's status line, as "&Solve" does. The problem is the
// page's default one (80 clauses, 24 variables, 10 to 16 literals), started again
// from its first values whenever it is solved. Beside it, in the same run, the
// solver's step alone on the same problem. Target: at least 500 steps per second.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Sat_Page_bench && QT_QPA_PLATFORM=offscreen
//   build-bench/bench/Sat_Page_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <vector>

#include "app/Application.h"
#include "app/Kavelin_Unit.h"
#include "app/Sat_Page.h"
#include "solvers/SATSolver_Unit.h"

namespace {

// Generates and loads the page's default problem through its own buttons (the
// seed is fixed in main); gives the first values.
std::vector<double> LoadDefaultProblem() {
    TSatPage* page = Kavelin_Form->SatPage;
    Kavelin_Form->PageControl1->SetCurrentIndex(2);
    QTest::mouseClick(page->SAT_Random_Generation_Button, Qt::LeftButton);
    QTest::mouseClick(page->SAT_Load_Button, Qt::LeftButton);
    return SatSolver->Values();
}

void Restart(const std::vector<double>& values) {
    for (size_t v = 1; v < values.size(); ++v)
        SatSolver->SetValue(static_cast<int32_t>(v), values[v]);
}

void CountSteps(benchmark::State& state) {
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_PageSolveLoop(benchmark::State& state) {
    const std::vector<double> start = LoadDefaultProblem();
    // The body of SAT_Solve_ButtonClick's loop.
    for (auto _ : state) {
        QCoreApplication::processEvents();
        SatSolver->Step();
        if (SatSolver->IsFinished()) Restart(start);
    }
    CountSteps(state);
}
BENCHMARK(BM_PageSolveLoop)->Unit(benchmark::kMicrosecond);

void BM_StepAlone(benchmark::State& state) {
    const std::vector<double> start = LoadDefaultProblem();
    TSatSolver solver(nullptr);
    const TSatProblem problem{static_cast<int32_t>(start.size()) - 1, SatSolver->Clauses()};
    solver.LoadProblem(problem);
    for (size_t v = 1; v < start.size(); ++v) solver.SetValue(static_cast<int32_t>(v), start[v]);
    for (auto _ : state) {
        solver.Step();
        if (solver.IsFinished())
            for (size_t v = 1; v < start.size(); ++v)
                solver.SetValue(static_cast<int32_t>(v), start[v]);
    }
    CountSteps(state);
}
BENCHMARK(BM_StepAlone)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KAVELIN_SEED", "2026", 0);  // the same problem in every run
    QApplication app(argc, argv);
    InitApplication(app);
    CreateWindows();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DestroyWindows();
    return 0;
}
