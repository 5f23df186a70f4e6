// The SAT page's solve loop with the real windows under the offscreen platform,
// beside the same steps without the windows, in pairs with the same argument:
//   default  the page's default problem (80 clauses, 24 variables, 10 to 16
//            literals), generated and loaded through the page's buttons;
//   3sat     random 3-SAT, 50 variables and 218 clauses.
// Each step of BM_PageSolveLoop is one pass of the loop of "&Solve" (SolvePass):
// the pending messages run when due (the paints among them), the solver steps,
// recolours its grid through the wrapper and rewrites the trace's status line. A solved problem is
// loaded again with fresh values, outside the timing. BM_StepsWithoutWindows runs
// the same steps as kavelin-cli does: its trace is the tool's bounded line list in
// memory, so both of a pair write the same lines (the default problem is solved
// every few steps, and each solution writes 25 lines). Counters: steps/s (per
// second of CPU, for both of a pair), and for the page's loop frames/s, the
// paints of the grid per second of wall time. Targets: the page's steps/s at
// least half of the steps without windows, at least 30 frames/s.
//
// BM_AnswerDuringSolve runs "&Solve" itself on an unsatisfiable problem, posts a
// click on "Random Generation" and then an Escape while it runs, and reports the
// most milliseconds of its runs until each was answered (the memo filled, the
// loop ended); target: 50 ms at most.
//
// BM_OpenAndLoad/<file> opens a big file with "&Open" and reads it into the solver
// with "Load", then saves the memo's lines with "&Save" into a text file, each
// timed apart (wall seconds), beside the engines reading and loading the same
// without the page: the lines read from the file (and, for DIMACS, turned into
// the constraint text) and the solver loading them from a plain line list. The
// files: "text", a constraint text of 55,555 clauses of 16 literals (999,993
// lines); "dimacs", 10^6 clauses of 3 literals (the memo then holds 5,000,003
// lines). Counters: the seconds of each step, the ratios page/engine, and the memory
// the memo holds after the open (MB, resident). Target: "Load" within 1.5 times
// the engine; "&Open" is bound by the text document, which costs about 2 us and
// 160 bytes a line however it is filled.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Sat_Page_bench && build-bench/bench/Sat_Page_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/Application.h"
#include "app/Kavelin_Unit.h"
#include "app/Sat_Page.h"
#include "app/Trace_Form.h"
#include "common/Random_Source.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Text_Display.h"
#include "qt/Qt_File_Dialog.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/SATSolver_Unit.h"
#include "solvers/Sat_Reference.h"

namespace {

constexpr int kDefault = 0;
constexpr int k3Sat = 1;

TSatPage* Page() {
    return Kavelin_Form->SatPage;
}

// The problem of the argument, loaded into the page's solver.
TSatProblem LoadProblem(int which) {
    Kavelin_Form->PageControl1->SetCurrentIndex(2);
    if (which == kDefault) {
        QTest::mouseClick(Page()->SAT_Random_Generation_Button, Qt::LeftButton);
        QTest::mouseClick(Page()->SAT_Load_Button, Qt::LeftButton);
        return TSatProblem{SatSolver->VariableCount(), SatSolver->Clauses()};
    }
    RandomSeed(2026);
    const TSatProblem problem = RandomSatProblem(218, 50, 3, 3);
    SatSolver->LoadProblem(problem);
    return problem;
}

// Counts the paint events of a widget.
struct TPaintCounter : QObject {
    int fPaints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++fPaints;
        return false;
    }
};

void PageSolveLoop(benchmark::State& state, int which) {
    const TSatProblem problem = LoadProblem(which);
    TPaintCounter frames;
    Page()->SATSolver_StringGrid->viewport()->installEventFilter(&frames);
    TraceForm->Text()->SetPaced(true);  // as SAT_Solve_ButtonClick does
    SatSolver->SetDisplayPaced(true);
    QElapsedTimer wall;
    wall.start();
    for (auto _ : state) {
        Page()->SolvePass();
        if (SatSolver->IsFinished()) {
            state.PauseTiming();
            SatSolver->LoadProblem(problem);
            state.ResumeTiming();
        }
    }
    const double seconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    Page()->SATSolver_StringGrid->viewport()->removeEventFilter(&frames);
    TraceForm->Text()->SetPaced(false);
    SatSolver->SetDisplayPaced(false);
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["frames/s"] = static_cast<double>(frames.fPaints) / seconds;
}

void StepsWithoutWindows(benchmark::State& state, int which) {
    const TSatProblem problem = LoadProblem(which);
    TMemoryTextDisplay trace;
    Messenger.AttachTrace(&trace);
    TSatSolver solver(nullptr);
    solver.LoadProblem(problem);
    for (auto _ : state) {
        solver.Step();
        if (solver.IsFinished()) {
            state.PauseTiming();
            solver.LoadProblem(problem);
            state.ResumeTiming();
        }
    }
    Messenger.AttachTrace(TraceForm->Text());
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_AnswerDuringSolve(benchmark::State& state) {
    const std::vector<std::string> unsatisfiable{
        "[General Datas]", "Clause Number=2", "Total Literal Number=1",
        "[Clause 0]",      "Nb Literals=1",   "Literal0=1",
        "[Clause 1]",      "Nb Literals=1",   "Literal0=-1"};
    double clickMs = 0;
    double escapeMs = 0;
    for (auto _ : state) {
        Page()->SAT_Memo->Assign(unsatisfiable);
        QTest::mouseClick(Page()->SAT_Load_Button, Qt::LeftButton);
        QElapsedTimer posted;
        // The click is answered when the memo holds the generated problem: the
        // time of the memo's last change after the click was posted.
        double filledMs = -1;
        const QMetaObject::Connection filled =
            QObject::connect(Page()->SAT_Memo, &QPlainTextEdit::textChanged, [&] {
                if (posted.isValid() && !Page()->SAT_Memo->document()->isEmpty())
                    filledMs = static_cast<double>(posted.nsecsElapsed()) / 1e6;
            });
        QTimer::singleShot(100, Kavelin_Form, [&posted] {
            Page()->SAT_Memo->Clear();
            const QPoint centre = Page()->SAT_Random_Generation_Button->rect().center();
            for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(
                    Page()->SAT_Random_Generation_Button,
                    new QMouseEvent(
                        type, centre, Page()->SAT_Random_Generation_Button->mapToGlobal(centre),
                        Qt::LeftButton,
                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                        Qt::NoModifier));
            posted.start();
        });
        QTimer::singleShot(150, Kavelin_Form, [&] {
            QObject::disconnect(filled);
            clickMs = filledMs < 0 ? -1 : std::max(clickMs, filledMs);
            QApplication::setActiveWindow(Kavelin_Form);
            Page()->SAT_Memo->setFocus();
            QCoreApplication::postEvent(
                Page()->SAT_Memo,
                new QKeyEvent(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier));
            QCoreApplication::postEvent(
                Page()->SAT_Memo, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            posted.start();
        });
        Page()->SAT_Solve_ButtonClick();
        escapeMs = std::max(escapeMs, static_cast<double>(posted.nsecsElapsed()) / 1e6);
    }
    state.counters["click ms"] = clickMs;
    state.counters["escape ms"] = escapeMs;
}

// The process's resident memory, in MB.
double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024;
        }
    return 0;
}

double SecondsOf(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

void BM_OpenAndLoad(benchmark::State& state, bool dimacs) {
    const std::string file =
        (std::filesystem::temp_directory_path() /
         ("kavelin_bench_open_" + std::to_string(QCoreApplication::applicationPid()) +
          (dimacs ? ".cnf" : ".txt")))
            .string();
    RandomSeed(2026);
    const TSatProblem problem =
        dimacs ? RandomSatProblem(1000000, 1000, 3, 3) : RandomSatProblem(55555, 100, 16, 16);
    TLineList(dimacs ? DimacsLines(problem) : ConstraintLines(problem)).SaveToFile(file);
    Kavelin_Form->PageControl1->SetCurrentIndex(2);
    const std::string saved = file + ".saved.txt";
    std::string answer = file;
    SetFileDialogResponder([&](const TFileDialog&) { return QString::fromStdString(answer); });
    double open = 0, load = 0, read = 0, engineLoad = 0, memo = 0, save = 0;
    for (auto _ : state) {
        Page()->SAT_Memo->Clear();
        const double before = ResidentMegabytes();
        open = SecondsOf([] {
            QTest::mouseClick(Page()->SAT_OpenConstraintFile_Button, Qt::LeftButton);
            QCoreApplication::processEvents();  // the memo's paint after the open
        });
        memo = ResidentMegabytes() - before;
        load = SecondsOf([] { QTest::mouseClick(Page()->SAT_Load_Button, Qt::LeftButton); });
        answer = saved;
        save = SecondsOf(
            [] { QTest::mouseClick(Page()->SAT_SaveToConstraintFile_Button, Qt::LeftButton); });
        answer = file;
        TLineList lines;
        read = SecondsOf([&] {
            lines.LoadFromFile(file);
            if (!dimacs) return;
            TSatProblem read;
            ReadDimacs(lines, file, read);
            lines = TLineList(ConstraintLines(read));
        });
        engineLoad = SecondsOf([&] { TSatSolver(nullptr).LoadFromLines(lines); });
    }
    SetFileDialogResponder(nullptr);
    Page()->SAT_Memo->Clear();
    std::filesystem::remove(file);
    std::filesystem::remove(saved);
    state.counters["open s"] = open;
    state.counters["save s"] = save;
    state.counters["load s"] = load;
    state.counters["open/engine"] = open / read;
    state.counters["load/engine"] = load / engineLoad;
    state.counters["memo MB"] = memo;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("KAVELIN_SEED", "2026", 0);  // the same problem in every run
    QApplication app(argc, argv);
    TProgramServices services(app);
    TProgramWindows windows;
    for (const auto& [name, which] : {std::pair{"default", kDefault}, std::pair{"3sat", k3Sat}}) {
        const int problem = which;
        benchmark::RegisterBenchmark((std::string("BM_PageSolveLoop/") + name).c_str(),
                                     [problem](benchmark::State& s) { PageSolveLoop(s, problem); })
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(
            (std::string("BM_StepsWithoutWindows/") + name).c_str(),
            [problem](benchmark::State& s) { StepsWithoutWindows(s, problem); })
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("BM_AnswerDuringSolve", BM_AnswerDuringSolve)
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_OpenAndLoad/text",
                                 [](benchmark::State& s) { BM_OpenAndLoad(s, false); })
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    benchmark::RegisterBenchmark("BM_OpenAndLoad/dimacs",
                                 [](benchmark::State& s) { BM_OpenAndLoad(s, true); })
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
