// The discriminant analysis of the shipped photograph at 20, 90 and 90, as the
// page runs it, with and without its sections timed; its sampling of pixel pairs
// on the photograph and on a 4000 x 3000 picture, beside the same pairs read one
// by one and the draws alone; and the picture-to-points transform of a 2000 x
// 2000 photograph, beside the JPEG decoding and a plain loop that writes the same
// points file.
//
// Run from the repository's root (the photograph is ./Data/DiscrimAnalysis/...);
// ImageMagick decodes the bitmap once and makes the 2000 x 2000 JPEG.
#include <benchmark/benchmark.h>

#include <charconv>

#include "analysis/Discriminant_Analysis_Unit.h"
#include "analysis/TransForm_Picture_To_Points_File_Unit.h"
#include "analysis/Transform_Picture_Fixtures.h"
#include "common/My_Types_Unit.h"
#include "common/Random_Source.h"
#include "platform/Paths.h"
#include "support/Trace_Capture.h"

using namespace picture_fixtures;

namespace {

const std::string kPhotograph = LocalPath(".\\Data\\DiscrimAnalysis\\dscf0001.bmp");

// Gives the one decoded picture for every file: the analysis reads its file each
// run, and the benchmark measures the analysis, not a decoder.
class TDecodedPicture : public IPictureReader {
  public:
    explicit TDecodedPicture(TBitmap picture) : fPicture(std::move(picture)) {
        SetPictureReader(this);
    }
    ~TDecodedPicture() override { SetPictureReader(nullptr); }
    TBitmap Decode(const std::string&, TPictureFormat) override { return fPicture; }

  private:
    TBitmap fPicture;
};

const TBitmap& Photograph() {
    static const TBitmap photograph = MagickDecode(kPhotograph);
    return photograph;
}

const std::string& LargeJpeg() {
    static const std::string path = [] {
        const std::string p = TempDir() + "/large.jpg";
        Shell("convert '" + kPhotograph + "' -resize 2000x2000! -quality 90 '" + p + "'");
        return p;
    }();
    return path;
}

// The calls of every section recorded so far.
int64_t TimedCalls() {
    int64_t calls = 0;
    for (const TSectionTimes& s : ChronoTable().Sections()) calls += s.fCalls;
    return calls;
}

// The analysis with its sections timed into the process-wide table, as the page
// runs it, and (`timed` false) without a profiler, as if the hook recorded
// nothing: the same seeds in both, so that the two do the same work.
void AnalyseShippedPhotograph(benchmark::State& state, bool timed) {
    TDecodedPicture reader(Photograph());
    TTraceCapture trace;
    TMemoryPicture control(489, 497);
    uint64_t seed = 0;
    int64_t parts = 0;
    const int64_t callsBefore = TimedCalls();
    for (auto _ : state) {
        SetFixedSeed(1 + seed++ % 8);
        TDiscriminantAnalysisManager manager(control);
        if (!timed) AnalysisChrono.reset();
        manager.Analyse(kPhotograph, 20, 90, 90);
        parts += static_cast<int64_t>(manager.Parts().size());
        trace.Reset();
    }
    SetFixedSeed(std::nullopt);
    state.counters["parts"] =
        benchmark::Counter(static_cast<double>(parts), benchmark::Counter::kAvgIterations);
    state.counters["timed_calls"] = benchmark::Counter(
        static_cast<double>(TimedCalls() - callsBefore), benchmark::Counter::kAvgIterations);
}

void BM_AnalyseShippedPhotograph(benchmark::State& state) {
    AnalyseShippedPhotograph(state, true);
}
BENCHMARK(BM_AnalyseShippedPhotograph)->Unit(benchmark::kMillisecond)->Iterations(16);

void BM_AnalyseShippedPhotographUntimed(benchmark::State& state) {
    AnalyseShippedPhotograph(state, false);
}
BENCHMARK(BM_AnalyseShippedPhotographUntimed)->Unit(benchmark::kMillisecond)->Iterations(16);

// What one timed call costs: a start and a stop of the analysis's busiest section,
// the fourth of the seven in the table, with its time recorded.
void BM_TimedCall(benchmark::State& state) {
    TChronoTable table;
    TChrono chrono(table);
    const std::string names[] = {"Analyse Image",         "SufficientCover", "Create New Part",
                                 "Calculate Homogeneity", "Extend Part",     "Clean",
                                 "Display Part List"};
    for (const std::string& name : names) {
        chrono.StartTimer(name);
        chrono.StopTimer(name);
    }
    for (auto _ : state) {
        chrono.StartTimer(names[3]);
        chrono.StopTimer(names[3]);
    }
    benchmark::DoNotOptimize(table.Revision());
}
BENCHMARK(BM_TimedCall);

// What the analysis spends most of its time on: one random pixel pair of a part
// and its colour distance, as a plain loop over the photograph.
void BM_PixelPairsPlainLoop(benchmark::State& state) {
    const TBitmap& b = Photograph();
    RandomSeed(1);
    int64_t sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            const int32_t x1 = RandomInt(b.Width()), y1 = RandomInt(b.Height());
            const int32_t x2 = RandomInt(b.Width()), y2 = RandomInt(b.Height());
            sum += ColorDistance(b.Pixel(x1, y1), b.Pixel(x2, y2));
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_PixelPairsPlainLoop);

// The same pairs through the analysis: the homogeneity of the whole photograph,
// 24 303 pairs.
void BM_PixelPairsOfTheAnalysis(benchmark::State& state) {
    TMemoryPicture control(489, 497);
    control.Bitmap() = Photograph();
    TDiscriminantAnalysisManager manager(control);
    manager.SetUp(20, 90, 90);
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.CalculateHomogeneity(Rect(0, 0, 489, 497)));
    state.SetItemsProcessed(state.iterations() * (489 * 497 / 10));
}
BENCHMARK(BM_PixelPairsOfTheAnalysis);

// A camera-sized 4000 x 3000 picture, the photograph enlarged: its 48 MB lie far
// beyond the caches, where every pixel read may wait for memory.
const TBitmap& LargePicture() {
    static const TBitmap large = [] {
        const TBitmap& small = Photograph();
        TBitmap b(4000, 3000);
        for (int32_t y = 0; y < 3000; ++y)
            for (int32_t x = 0; x < 4000; ++x)
                b.SetPixel(x, y, small.Pixel(x * small.Width() / 4000, y * small.Height() / 3000));
        return b;
    }();
    return large;
}

constexpr int64_t kLargePairs = 4000 * 3000 / 10;

// The homogeneity of the whole large picture as its steps are written: each pair
// drawn, then its two pixels read, one pair after the other.
int32_t LargeHomogeneityPairByPair() {
    const TBitmap& b = LargePicture();
    int64_t sum = 0;
    for (int64_t i = 0; i < kLargePairs; ++i) {
        const int32_t x1 = RandomInt(4000), y1 = RandomInt(3000);
        const int32_t x2 = RandomInt(4000), y2 = RandomInt(3000);
        sum += ColorDistance(ControlPixel(b, x1, y1), ControlPixel(b, x2, y2));
    }
    return static_cast<int32_t>(sum / kLargePairs);
}

void BM_LargePixelPairsPairByPair(benchmark::State& state) {
    for (auto _ : state) {
        RandomSeed(1);
        benchmark::DoNotOptimize(LargeHomogeneityPairByPair());
    }
    state.SetItemsProcessed(state.iterations() * kLargePairs);
}
BENCHMARK(BM_LargePixelPairsPairByPair)->Unit(benchmark::kMillisecond);

// The same pairs through the analysis, which must find the same homogeneity.
void BM_LargePixelPairsOfTheAnalysis(benchmark::State& state) {
    TMemoryPicture control(4000, 3000);
    control.Bitmap() = LargePicture();
    TDiscriminantAnalysisManager manager(control);
    manager.SetUp(20, 90, 90);
    AnalysisChrono.reset();
    RandomSeed(1);
    const int32_t expected = LargeHomogeneityPairByPair();
    for (auto _ : state) {
        RandomSeed(1);
        if (manager.CalculateHomogeneity(Rect(0, 0, 4000, 3000)) != expected)
            state.SkipWithError("not the homogeneity of the pairs read one by one");
    }
    state.SetItemsProcessed(state.iterations() * kLargePairs);
}
BENCHMARK(BM_LargePixelPairsOfTheAnalysis)->Unit(benchmark::kMillisecond);

// The four draws of each pair alone, with no pixel read: what neither can go below.
void BM_LargePixelPairDrawsOnly(benchmark::State& state) {
    for (auto _ : state) {
        RandomSeed(1);
        int64_t sum = 0;
        for (int64_t i = 0; i < kLargePairs; ++i)
            sum += RandomInt(4000) + RandomInt(3000) + RandomInt(4000) + RandomInt(3000);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kLargePairs);
}
BENCHMARK(BM_LargePixelPairDrawsOnly)->Unit(benchmark::kMillisecond);

void BM_TransformPhotograph2000(benchmark::State& state) {
    const std::string source = LargeJpeg();
    const std::string destination = TempDir() + "/large.txt";
    for (auto _ : state) {
        TTransPictureToPointsFile transformer(clWhite);
        transformer.Transform(source, destination);
        state.counters["points"] = static_cast<double>(transformer.Lines().Count());
    }
}
BENCHMARK(BM_TransformPhotograph2000)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg2000(benchmark::State& state) {
    const std::string bytes = ReadFileBytes(LargeJpeg());
    for (auto _ : state) benchmark::DoNotOptimize(DecodeJpeg(bytes));
}
BENCHMARK(BM_DecodeJpeg2000)->Unit(benchmark::kMillisecond);

// The transform's scan and file as a plain loop: one text built with to_chars,
// written at once.
void BM_PointsPlainLoop2000(benchmark::State& state) {
    const TBitmap picture = DecodeJpeg(ReadFileBytes(LargeJpeg()));
    const std::string destination = TempDir() + "/plain.txt";
    for (auto _ : state) {
        std::string text;
        char number[16];
        for (int32_t x = 0; x < picture.Width(); ++x)
            for (int32_t y = 0; y < picture.Height(); ++y) {
                if (picture.Pixel(x, y) == clWhite) continue;
                text.append(number, std::to_chars(number, number + 16, x).ptr);
                text += ' ';
                text.append(number, std::to_chars(number, number + 16, y).ptr);
                text += "\r\n";
            }
        WriteFileAtomically(destination, text);
    }
}
BENCHMARK(BM_PointsPlainLoop2000)->Unit(benchmark::kMillisecond);

}  // namespace
