// Steps per second of the SAT page's solve loop with the real windows under the
// offscreen platform, on the page's default problem (80 clauses, 24 variables, 10
// to 16 literals). Each benchmark step is one step of the loop of "&Solve": the
// pending messages run (painting what is invalid), the solver steps, redraws the
// grid through its wrapper and rewrites the trace's status line; when the problem
// is solved (its solution lines sent to the trace), the next solve starts from
// fresh random values, as "Load" gives them, outside the timing. Beside it, in the
// same run, the same steps without the windows. Target: at least 500 steps per
// second for the page's loop.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Sat_Page_bench && build-bench/bench/Sat_Page_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdlib>

#include "app/Application.h"
#include "app/Kavelin_Unit.h"
#include "app/Sat_Page.h"
#include "diagnostics/TraceUnit.h"
#include "solvers/SATSolver_Unit.h"

namespace {

// Generates and loads the page's default problem through its own buttons (the
// seed is fixed in main).
TSatProblem LoadDefaultProblem() {
    TSatPage* page = Kavelin_Form->SatPage;
    Kavelin_Form->PageControl1->SetCurrentIndex(2);
    QTest::mouseClick(page->SAT_Random_Generation_Button, Qt::LeftButton);
    QTest::mouseClick(page->SAT_Load_Button, Qt::LeftButton);
    return TSatProblem{static_cast<int32_t>(SatSolver->Values().size()) - 1, SatSolver->Clauses()};
}

void Report(benchmark::State& state, int64_t solves) {
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["steps/solve"] =
        static_cast<double>(state.iterations()) / static_cast<double>(std::max<int64_t>(solves, 1));
}

void BM_PageSolveLoop(benchmark::State& state) {
    const TSatProblem problem = LoadDefaultProblem();
    int64_t solves = 0;
    for (auto _ : state) {
        // The body of SAT_Solve_ButtonClick's loop.
        QCoreApplication::processEvents();
        SatSolver->Step();
        if (SatSolver->IsFinished()) {
            state.PauseTiming();
            ++solves;
            SatSolver->LoadProblem(problem);
            state.ResumeTiming();
        }
    }
    Report(state, solves);
}
BENCHMARK(BM_PageSolveLoop)->Unit(benchmark::kMicrosecond);

void BM_StepsWithoutWindows(benchmark::State& state) {
    const TSatProblem problem = LoadDefaultProblem();
    Messenger.AttachTrace(nullptr);
    TSatSolver solver(nullptr);
    solver.LoadProblem(problem);
    int64_t solves = 0;
    for (auto _ : state) {
        solver.Step();
        if (solver.IsFinished()) {
            state.PauseTiming();
            ++solves;
            solver.LoadProblem(problem);
            state.ResumeTiming();
        }
    }
    Report(state, solves);
}
BENCHMARK(BM_StepsWithoutWindows)->Unit(benchmark::kMicrosecond);

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
