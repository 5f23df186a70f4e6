// The segmentation page's memo filled from a big file, with the real windows
// under the offscreen platform: the load in pieces that reports its progress
// between them (TMemo::LoadFromFile with a progress, as "Load Datas" runs it),
// beside the whole-text fill of Assign (TLines::LoadFromFile), in pairs on the
// same file, each from an empty memo and up to the first paint after it:
//   lines    a million short lines, "Literal=1" to "Literal=1000000"
//   binary   710 KB of random bytes, as a data file of another program
// The page's memo keeps each replacement as an undo step; "plain" runs the same
// on a memo of the page's size that keeps none. Counters: the seconds of each
// (whole, pieces: the thread's processor time), their ratio pieces/whole, the reports made and the
// longest time without one (from the start, between two, up to the first paint after). Target: the
// pieces within 1.1 times the whole text.
//
//   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVELIN_BENCH=ON
//   ninja -C build-bench Segmentation_Page_bench && build-bench/bench/Segmentation_Page_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "app/Application.h"
#include "app/Kavelin_Unit.h"
#include "app/Segmentation_Page.h"
#include "base/File_Io.h"
#include "base/Progress.h"

namespace {

// Seconds of this thread's processor time: the work is the one thread's, and the
// other programs of a busy machine do not count.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Counts the reports and the longest time between two of them (or the start
// or the end of the load), and never asks to stop.
class TCountedProgress final : public TProgress {
  public:
    void Starts() { fLast = ThreadSeconds(); }
    void Ends() { Passed(); }
    bool Report(std::int64_t, std::int64_t) override {
        ++fReports;
        Passed();
        return false;
    }
    std::int64_t fReports = 0;
    double fLongestGap = 0;

  private:
    void Passed() {
        const double now = ThreadSeconds();
        fLongestGap = std::max(fLongestGap, now - fLast);
        fLast = now;
    }
    double fLast = 0;
};

std::string LinesFile() {
    std::string text;
    for (int i = 1; i <= 1000000; ++i) text += "Literal=" + std::to_string(i) + "\r\n";
    return text;
}

std::string BinaryFile() {
    std::mt19937 random(2026);
    std::string bytes(710 * 1024, '\0');
    for (char& byte : bytes) byte = char(random() & 0xFF);
    return bytes;
}

// Loads the file into the emptied memo and lets the window paint; seconds.
template <class TLoad>
double TimedLoad(TMemo& memo, TLoad load) {
    memo.Clear();
    QCoreApplication::processEvents();
    const double start = ThreadSeconds();
    load();
    QCoreApplication::processEvents();
    return ThreadSeconds() - start;
}

void BM_Load(benchmark::State& state, TMemo& memo, const std::string& fileName) {
    double whole = 0;
    double pieces = 0;
    TCountedProgress progress;
    for (auto _ : state) {
        whole += TimedLoad(memo, [&] { memo.TLines::LoadFromFile(fileName); });
        pieces += TimedLoad(memo, [&] {
            progress.Starts();
            memo.LoadFromFile(fileName, progress);
            QCoreApplication::processEvents();
            progress.Ends();
        });
    }
    memo.Clear();
    const double runs = double(state.iterations());
    state.counters["whole_s"] = whole / runs;
    state.counters["pieces_s"] = pieces / runs;
    state.counters["pieces/whole"] = pieces / whole;
    state.counters["reports"] = double(progress.fReports) / runs;
    state.counters["longest_gap_s"] = progress.fLongestGap;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    TProgramServices services(app);
    TProgramWindows windows;
    Kavelin_Form->show();
    TPageControl* pages = Kavelin_Form->PageControl1;
    for (int i = 0; i < pages->PageCount(); ++i)
        if (pages->Page(i) == Kavelin_Form->SegmentationPage) pages->SetCurrentIndex(i);
    TMemo* pageMemo = Kavelin_Form->SegmentationPage->Segmentation_Memo;
    TMemo plain;
    plain.resize(pageMemo->size());
    plain.show();

    QTemporaryDir folder;
    const std::string lines = folder.filePath(QStringLiteral("lines.txt")).toStdString();
    const std::string binary = folder.filePath(QStringLiteral("binary.dat")).toStdString();
    WriteFileAtomically(lines, LinesFile());
    WriteFileAtomically(binary, BinaryFile());
    for (const auto& [name, file] : {std::pair{"lines", lines}, std::pair{"binary", binary}}) {
        for (const auto& [kind, memo] :
             {std::pair{"undoable", pageMemo}, std::pair{"plain", &plain}}) {
            TMemo* target = memo;
            const std::string fileName = file;
            benchmark::RegisterBenchmark(
                (std::string("BM_Load/") + name + "/" + kind).c_str(),
                [target, fileName](benchmark::State& s) { BM_Load(s, *target, fileName); })
                ->Iterations(5)
                ->Unit(benchmark::kSecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
