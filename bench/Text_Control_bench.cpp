// The memo's text control (a QPlainTextEdit behind TMemo) beside QScintilla's
// editor, on what the SAT page does with large texts: a constraint text of a
// million lines put in at once, as "&Open" does, and the trace's pattern of a
// solve, one status line rewritten at every step at the end of a full trace.
// Times are ratios against the engine's read of the same text (ReadFileBytes
// and SplitLines), measured in the same run; held memory is the growth of the
// resident set while the control holds the text. The rewrites give rates, to be
// compared between the two controls.
#include <benchmark/benchmark.h>

#include <Qsci/qsciscintilla.h>

#include <unistd.h>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "base/File_Io.h"
#include "base/Line_List.h"
#include "qt/Qt_Memo.h"
#include "qt/Text_Codec.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kTraceLines = 10000;
constexpr int kStatusRewrites = 100000;
// QScintilla rewrites the line hundreds of times more slowly: fewer rewrites give
// the same rate in a bearable time.
constexpr int kScintillaRewrites = 2000;

// A million lines of constraint text, as "Random Generation" writes them.
const std::string& ConstraintFile() {
    static const std::string name = [] {
        std::string path = "/tmp/kavelin_text_control_bench_" + std::to_string(::getpid()) + ".txt";
        std::ofstream out(path, std::ios::binary);
        out << "[General Datas]\r\nClause Number=" << kLines / 10 << "\r\n";
        for (int i = 2; i < kLines; ++i)
            out << "Literal" << i % 10 << "=" << (i % 97) - 48 << "\r\n";
        return path;
    }();
    return name;
}

double ResidentMb() {
    long pages = 0, resident = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

double SecondsOf(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double EngineReadSeconds() {
    return SecondsOf([] { benchmark::DoNotOptimize(SplitLines(ReadFileBytes(ConstraintFile()))); });
}

std::unique_ptr<QsciScintilla> MakeScintilla() {
    auto editor = std::make_unique<QsciScintilla>();
    editor->setUtf8(true);
    editor->setWrapMode(QsciScintilla::WrapNone);
    editor->resize(169, 361);
    return editor;
}

// "&Open": the file read, split and put into the control, as the memo does it.
void BM_OpenMillionLines_Memo(benchmark::State& state) {
    for (auto _ : state) {
        const double read = EngineReadSeconds();
        const double before = ResidentMb();
        TMemo memo;
        memo.resize(169, 361);
        const double open = SecondsOf([&] { memo.LoadFromFile(ConstraintFile()); });
        state.counters["ratio_to_read"] = open / read;
        state.counters["held_mb"] = ResidentMb() - before;
        state.counters["open_s"] = open;
    }
}

void BM_OpenMillionLines_Scintilla(benchmark::State& state) {
    for (auto _ : state) {
        const double read = EngineReadSeconds();
        const double before = ResidentMb();
        std::unique_ptr<QsciScintilla> editor = MakeScintilla();
        const double open = SecondsOf([&] {
            const std::vector<std::string> lines = SplitLines(ReadFileBytes(ConstraintFile()));
            std::string joined;
            for (const std::string& line : lines) (joined += line) += '\n';
            editor->setText(ToQt(joined));
        });
        state.counters["ratio_to_read"] = open / read;
        state.counters["held_mb"] = ResidentMb() - before;
        state.counters["open_s"] = open;
    }
}

// The trace during a solve: a full trace whose last line, the status line, is
// rewritten at every step.
void BM_StatusRewrites_Memo(benchmark::State& state) {
    TMemo memo;
    for (int i = 0; i < kTraceLines; ++i) memo.Add("valides : " + std::to_string(i) + " / 80");
    for (auto _ : state) {
        for (int i = 0; i < kStatusRewrites; ++i)
            memo.ReplaceLast("valides : " + std::to_string(i % 80) + " / 80");
    }
    state.SetItemsProcessed(state.iterations() * kStatusRewrites);
}

void BM_StatusRewrites_Scintilla(benchmark::State& state) {
    std::unique_ptr<QsciScintilla> editor = MakeScintilla();
    for (int i = 0; i < kTraceLines; ++i)
        editor->append(QString::fromStdString("valides : " + std::to_string(i) + " / 80\n"));
    // The trace keeps no undo history; the target is replaced without moving the
    // caret or the view, as the memo's program edits do.
    editor->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
    for (auto _ : state) {
        for (int i = 0; i < kScintillaRewrites; ++i) {
            const long last = editor->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT) - 1;
            editor->SendScintilla(
                QsciScintillaBase::SCI_SETTARGETSTART,
                editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, last));
            editor->SendScintilla(QsciScintillaBase::SCI_SETTARGETEND,
                                  editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
            const std::string text = "valides : " + std::to_string(i % 80) + " / 80";
            editor->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, text.size(), text.c_str());
        }
    }
    state.SetItemsProcessed(state.iterations() * kScintillaRewrites);
}

}  // namespace

BENCHMARK(BM_OpenMillionLines_Memo)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenMillionLines_Scintilla)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatusRewrites_Memo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatusRewrites_Scintilla)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(ConstraintFile().c_str());
    return 0;
}
