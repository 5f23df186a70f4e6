// The discriminant analysis: how seeds are placed and grow, how homogeneity is
// sampled, what the trace shows, the outlines, and the bounded seed search.
#include <gtest/gtest.h>

#include <map>

#include "analysis/Discriminant_Analysis_Unit.h"
#include "analysis/Transform_Picture_Fixtures.h"
#include "common/Random_Source.h"
#include "solvers/Progress_Stop.h"
#include "support/Trace_Capture.h"

using namespace picture_fixtures;

namespace {

const std::string kWarning =
    "Warning : Discriminant_Analysis_Unit : TDiscriminantAnalysisManager.Analyse : ";
const std::string kNoSeedFits =
    kWarning +
    "a seed of 20 x 20 pixels does not fit in the picture, the coverage of 90 % "
    "cannot be reached";
const std::string kNoSeedGrows =
    kWarning + "no seed found a free place and grew in 10000 tries in a row, the coverage of ";

std::string UniformFile(const std::string& name, int width, int height, TColor colour) {
    TBitmap b(width, height);
    b.Fill(colour);
    return WriteTemp(name, EncodeBmp(b, TBmpEncoding::Rgb24));
}

// A picture of vertical bands of 25 pixels in four far-apart colours.
TBitmap FourBands(int width, int height) {
    const TColor colours[] = {clBlack, clWhite, clRed, clBlue};
    TBitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.SetPixel(x, y, colours[(x / 25) % 4]);
    return b;
}

}  // namespace

TEST(DiscriminantAnalysis, AUniformPictureIsOnePartOutlinedInWhite) {
    TTraceCapture trace;
    TMagickPictureReader reader;
    TMemoryPicture picture(100, 80);
    TDiscriminantAnalysisManager manager(picture);
    ASSERT_NE(AnalysisChrono, nullptr);
    manager.Analyse(UniformFile("uniform.bmp", 100, 80, clNavy), 20, 90, 90);
    // Each coverage check clears the trace: only the last one shows.
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"Covered : 100", "0 0 100 80"}));
    EXPECT_TRUE(trace.Boxes().empty());
    const TBitmap& b = picture.Bitmap();
    for (int x = 1; x <= 99; ++x) {
        EXPECT_EQ(b.Pixel(x, 1), clWhite);
        EXPECT_EQ(b.Pixel(x, 79), clWhite);
    }
    EXPECT_EQ(b.Pixel(1, 40), clWhite);
    EXPECT_EQ(b.Pixel(99, 40), clWhite);
    EXPECT_EQ(b.Pixel(0, 0), clNavy);
    EXPECT_EQ(b.Pixel(2, 2), clNavy);
    EXPECT_EQ(picture.fRepaints, 0);  // the page repaints, not the engine
}

TEST(DiscriminantAnalysis, PixelsBeyondASmallerPictureReadAsTheBackground) {
    TTraceCapture trace;
    TMagickPictureReader reader;
    // A picture of the control's background colour in a larger control: the whole
    // control reads as one colour.
    TMemoryPicture picture(90, 70);
    TDiscriminantAnalysisManager manager(picture);
    manager.Analyse(UniformFile("background.bmp", 40, 30, kPictureBackground), 20, 90, 90);
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"Covered : 100", "0 0 90 70"}));
    EXPECT_EQ(picture.Bitmap().Width(), 40);
    EXPECT_EQ(picture.Bitmap().Pixel(1, 10), clWhite);  // the outline, as far as the picture goes
}

TEST(DiscriminantAnalysis, PartsGrowSideBySideUntilTheEdges) {
    TTraceCapture trace;
    TMemoryPicture picture(100, 100);
    picture.Bitmap().Fill(clGreen);
    TDiscriminantAnalysisManager manager(picture);
    manager.SetUp(20, 90, 90);
    // One pixel a side a round, until each side meets its edge; the last round
    // takes nothing.
    TPart centre(40, 40, 60, 60);
    EXPECT_EQ(manager.ExtendPart(centre), 41);
    EXPECT_EQ(centre.Rect(), Rect(0, 0, 100, 100));
    EXPECT_EQ(centre.Homogeneity, 0);
    // At the left edge the left probe has no width and is never taken.
    TPart atLeft(0, 40, 20, 60);
    EXPECT_EQ(manager.ExtendPart(atLeft), 81);
    EXPECT_EQ(atLeft.Rect(), Rect(0, 0, 100, 100));
    // The part is cleaned first.
    TPart reversed(60, 60, 40, 40);
    EXPECT_EQ(manager.ExtendPart(reversed), 41);
    EXPECT_EQ(reversed.Rect(), Rect(0, 0, 100, 100));
}

TEST(DiscriminantAnalysis, AUniformPartTakesOnlyUniformStrips) {
    TTraceCapture trace;
    TMemoryPicture picture(100, 60);
    picture.Bitmap() = FourBands(100, 60);
    TDiscriminantAnalysisManager manager(picture);
    manager.SetUp(15, 90, 90);
    RandomSeed(3);
    // The part spans the height, in the second band (columns 25 to 49). While it is
    // of one colour it takes the uniform columns beside it, even those of the
    // neighbouring bands; once mixed, it refuses uniform columns.
    TPart part(30, 0, 45, 60);
    EXPECT_EQ(manager.ExtendPart(part), 7);
    EXPECT_EQ(part.Rect(), Rect(24, 0, 51, 60));
    EXPECT_GT(part.Homogeneity, 0);
}

TEST(DiscriminantAnalysis, HomogeneityIsSampledOnePairPerTenPixels) {
    TMemoryPicture picture(100, 100);
    TBitmap& b = picture.Bitmap();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) b.SetPixel(x, y, x < 50 ? clBlack : clWhite);
    TDiscriminantAnalysisManager manager(picture);
    manager.SetUp(20, 90, 90);

    // The random draws used tell the number of pairs: four a pair.
    const auto drawsUsed = [&](const TRect& r) {
        RandomSeed(11);
        manager.CalculateHomogeneity(r);
        const int32_t next = RandomInt(1000000);
        RandomSeed(11);
        for (int draws = 0; draws < 100000; ++draws)
            if (RandomInt(1000000) == next) return draws;
        return -1;
    };
    EXPECT_EQ(drawsUsed(Rect(0, 0, 20, 20)), 4 * 40);
    EXPECT_EQ(drawsUsed(Rect(0, 0, 1, 20)), 4 * 2);
    // Fewer than ten pixels still get one pair, where the sum would be divided by 0.
    EXPECT_EQ(drawsUsed(Rect(3, 3, 4, 9)), 4 * 1);

    EXPECT_EQ(manager.CalculateHomogeneity(Rect(0, 0, 50, 100)), 0);
    // Pairs across the two halves differ by 765, half of them on average; the
    // rectangle may be given corner first or last.
    const int32_t mixed = manager.CalculateHomogeneity(Rect(100, 100, 0, 0));
    EXPECT_GT(mixed, 300);
    EXPECT_LT(mixed, 465);
}

TEST(DiscriminantAnalysis, SeedsNeitherOverlapNorTouchParts) {
    TMemoryPicture picture(42, 40);
    TDiscriminantAnalysisManager manager(picture);
    manager.SetUp(20, 90, 90);
    manager.AddPart(TPart(0, 0, 20, 40));
    // Seeds start at columns 0 to 21; 20 would touch the part: only 21 is free.
    for (int i = 0; i < 20; ++i) {
        int32_t tries = 0;
        const std::optional<TPart> seed = manager.CreateNewPart(tries);
        ASSERT_TRUE(seed.has_value());
        EXPECT_EQ(seed->Left, 21);
        EXPECT_EQ(seed->Right - seed->Left, 20);
        EXPECT_EQ(seed->Bottom - seed->Top, 20);
        EXPECT_LE(seed->Bottom, 40);
    }
    // With no free place, the search gives up after its bound of tries.
    manager.AddPart(TPart(21, 0, 42, 40));
    int32_t tries = 0;
    EXPECT_FALSE(manager.CreateNewPart(tries).has_value());
    EXPECT_EQ(tries, TDiscriminantAnalysisManager::kMaxFruitlessTries);
}

TEST(DiscriminantAnalysis, TheSeedSearchEndsWhenCoverageCannotBeReached) {
    TTraceCapture trace;
    TMagickPictureReader reader;
    {
        // The seed does not fit in the control.
        TMemoryPicture picture(15, 30);
        TDiscriminantAnalysisManager manager(picture);
        manager.Analyse(UniformFile("narrow.bmp", 15, 30, clRed), 20, 90, 90);
        EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"Covered : 0", kNoSeedFits}));
    }
    trace.Reset();
    {
        // The seed fills the control and cannot grow: every seed is dropped.
        TMemoryPicture picture(20, 20);
        TDiscriminantAnalysisManager manager(picture);
        manager.Analyse(UniformFile("exact.bmp", 20, 20, clRed), 20, 90, 90);
        EXPECT_EQ(trace.Lines(), (std::vector<std::string>{
                                     "Covered : 0", kNoSeedGrows + "90 % cannot be reached"}));
        EXPECT_TRUE(manager.Parts().empty());
    }
    trace.Reset();
    {
        // Parts found before the search gives up are listed and drawn.
        TMemoryPicture picture(100, 60);
        TDiscriminantAnalysisManager manager(picture);
        const std::string bands =
            WriteTemp("bands.bmp", EncodeBmp(FourBands(100, 60), TBmpEncoding::Rgb24));
        manager.Analyse(bands, 20, 101, 90);
        ASSERT_FALSE(manager.Parts().empty());
        const std::vector<std::string>& lines = trace.Lines();
        ASSERT_EQ(lines.size(), manager.Parts().size() + 2);
        EXPECT_EQ(lines[1], kNoSeedGrows + "101 % cannot be reached");
        for (const TPart& part : manager.Parts()) {
            EXPECT_TRUE(part.Left >= 0 && part.Top >= 0 && part.Right <= 100 && part.Bottom <= 60);
            EXPECT_EQ(picture.Bitmap().Pixel(part.Left + 1, part.Top + 1), clWhite);
        }
    }
}

TEST(DiscriminantAnalysis, PartsAreCleanedSentAndOutlined) {
    TTraceCapture trace;
    TMemoryPicture picture(40, 40);
    picture.Bitmap().Fill(clBlack);
    TDiscriminantAnalysisManager manager(picture);
    manager.SetUp(20, 90, 90);
    manager.AddPart(TPart(30, 35, 10, 5));
    manager.AddPart(TPart(0, 0, 45, 45));  // beyond the bitmap: clipped, no fault
    manager.DisplayPartList();
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{"10 5 30 35", "0 0 45 45"}));
    EXPECT_EQ(manager.Parts()[0].Rect(), Rect(10, 5, 30, 35));
    const TBitmap& b = picture.Bitmap();
    EXPECT_EQ(b.Pixel(11, 6), clWhite);
    EXPECT_EQ(b.Pixel(29, 34), clWhite);
    EXPECT_EQ(b.Pixel(20, 6), clWhite);
    EXPECT_EQ(b.Pixel(20, 20), clBlack);
    EXPECT_EQ(b.Pixel(30, 35), clBlack);
    EXPECT_EQ(b.Pixel(1, 20), clWhite);
}

TEST(DiscriminantAnalysis, AnUnreadablePictureRaisesBeforeAnythingIsDrawn) {
    TTraceCapture trace;
    TMemoryPicture picture(30, 30);
    TDiscriminantAnalysisManager manager(picture);
    EXPECT_THROW(manager.Analyse(TempDir() + "/absent.jpg", 20, 90, 90), EFileError);
    EXPECT_TRUE(trace.Lines().empty());
    EXPECT_EQ(picture.Bitmap().Pixel(0, 0), clWhite);
}

// Calls of each section in the process-wide table so far.
std::map<std::string, int64_t> SectionCalls() {
    std::map<std::string, int64_t> calls;
    for (const TSectionTimes& s : ChronoTable().Sections()) calls[s.fSection] = s.fCalls;
    return calls;
}

TEST(DiscriminantAnalysis, EverySectionIsTimedInTheProcessWideTable) {
    TTraceCapture trace;
    TMagickPictureReader reader;
    TMemoryPicture picture(100, 60);
    TDiscriminantAnalysisManager manager(picture);
    std::map<std::string, int64_t> before = SectionCalls();
    manager.Analyse(WriteTemp("bands.bmp", EncodeBmp(FourBands(100, 60), TBmpEncoding::Rgb24)), 20,
                    90, 90);
    std::map<std::string, int64_t> calls = SectionCalls();
    for (auto& [name, count] : calls) count -= before[name];
    const auto parts = static_cast<int64_t>(manager.Parts().size());
    ASSERT_GT(parts, 0);
    EXPECT_EQ(calls["Analyse Image"], 1);
    EXPECT_EQ(calls["Display Part List"], 1);
    // One loop a seed: the cover check, the seed, its growth. Either one more
    // check ends it, or a last seed search that gives up.
    const bool gaveUp = trace.Lines()[1].rfind(kWarning, 0) == 0;
    EXPECT_GE(calls["Extend Part"], parts);
    EXPECT_EQ(calls["Create New Part"], calls["Extend Part"] + (gaveUp ? 1 : 0));
    EXPECT_EQ(calls["SufficientCover"], calls["Create New Part"] + (gaveUp ? 0 : 1));
    // Every growth cleans its part, and so does the list for every part.
    EXPECT_EQ(calls["Clean"], calls["Extend Part"] + parts);
    EXPECT_GT(calls["Calculate Homogeneity"], 2 * calls["Extend Part"]);

    // A uniform part grows a pixel a side a round, sampling itself and its strips:
    // four strips for 20 rounds, the two side ones for 20 more, then itself once
    // more in a last round that takes nothing.
    picture.Bitmap().Fill(clGreen);
    manager.SetUp(20, 90, 90);
    before = SectionCalls();
    TPart centre(40, 20, 60, 40);
    EXPECT_EQ(manager.ExtendPart(centre), 41);
    calls = SectionCalls();
    EXPECT_EQ(calls["Extend Part"] - before["Extend Part"], 1);
    EXPECT_EQ(calls["Clean"] - before["Clean"], 1);
    EXPECT_EQ(calls["Calculate Homogeneity"] - before["Calculate Homogeneity"],
              5 * 20 + 3 * 20 + 1);
}

namespace {

// The analysis with every reseed giving `seed`, and what it left.
struct TRun {
    bool fEnded = false;
    std::vector<TPart> fParts;
    std::vector<std::string> fLines;
    TBitmap fPicture;
};

TRun AnalyseWithSeed(const std::string& file, int width, int height, uint64_t seed,
                     TProgress& progress, int32_t minPartSize = 20) {
    TTraceCapture trace;
    TMagickPictureReader reader;
    TMemoryPicture picture(width, height);
    TDiscriminantAnalysisManager manager(picture);
    SetFixedSeed(seed);
    TRun run;
    run.fEnded = manager.Analyse(file, minPartSize, 90, 90, progress);
    SetFixedSeed(std::nullopt);
    run.fParts = manager.Parts();
    run.fLines = trace.Lines();
    run.fPicture = picture.Bitmap();
    return run;
}

bool SameRects(const std::vector<TPart>& a, const std::vector<TPart>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i].Rect() == b[i].Rect())) return false;
    return true;
}

}  // namespace

TEST(DiscriminantAnalysis, AStopMidwayLeavesTheLoadedPictureAndTheAcceptedParts) {
    const std::string file =
        WriteTemp("stop.bmp", EncodeBmp(FourBands(200, 120), TBmpEncoding::Rgb24));
    const TBitmap loaded = FourBands(200, 120);
    TStopAtCall never(0);
    const TRun full = AnalyseWithSeed(file, 200, 120, 5, never);
    ASSERT_TRUE(full.fEnded);
    ASSERT_GE(full.fParts.size(), 3u);
    ASSERT_GT(never.fReports.size(), 20u);
    // Covered pixels out of 90 % of the control, never going back.
    int64_t last = 0;
    for (const auto& [done, total] : never.fReports) {
        EXPECT_EQ(total, 200 * 120 * 90 / 100);
        EXPECT_GE(done, last);
        EXPECT_LE(done, total);
        last = done;
    }
    EXPECT_GT(last, 0);

    for (const int64_t stopAt : {int64_t{1}, static_cast<int64_t>(never.fReports.size() / 2),
                                 static_cast<int64_t>(never.fReports.size())}) {
        SCOPED_TRACE(stopAt);
        TStopAtCall stop(stopAt);
        const TRun run = AnalyseWithSeed(file, 200, 120, 5, stop);
        EXPECT_FALSE(run.fEnded);
        // Not asked again once it answered.
        EXPECT_EQ(static_cast<int64_t>(stop.fReports.size()), stopAt);
        // The same draws up to the stop: the parts accepted are the full run's first.
        ASSERT_LE(run.fParts.size(), full.fParts.size());
        EXPECT_TRUE(SameRects(
            run.fParts, std::vector<TPart>(
                            full.fParts.begin(),
                            full.fParts.begin() + static_cast<std::ptrdiff_t>(run.fParts.size()))));
        // The last coverage check, then the one line; nothing listed or outlined.
        ASSERT_EQ(run.fLines.size(), 2u);
        EXPECT_EQ(run.fLines[0].rfind("Covered : ", 0), 0u);
        EXPECT_EQ(run.fLines[1], "Analysis interrupted");
        EXPECT_TRUE(run.fPicture.SamePixels(loaded));
    }
}

TEST(DiscriminantAnalysis, AStopIsHeardInTheSeedSearchAndInALargeSample) {
    {
        // A seed that fills the control cannot grow: only the seed search runs,
        // asking every 256 tries, and the stop comes before its warning.
        TStopAtCall stop(10);
        const TRun run = AnalyseWithSeed(UniformFile("stuck.bmp", 20, 20, clRed), 20, 20, 1, stop);
        EXPECT_FALSE(run.fEnded);
        EXPECT_EQ(stop.fReports.size(), 10u);
        EXPECT_EQ(run.fLines, (std::vector<std::string>{"Covered : 0", "Analysis interrupted"}));
    }
    {
        // A seed of 820 x 820 pixels in a uniform 830 x 830 control samples 67 240
        // pairs, asking within them after the report of its first round, with the
        // same area. A stop at the first of those ends the run with no part
        // accepted.
        const std::string file = UniformFile("large.bmp", 830, 830, clNavy);
        TStopAtCall never(0);
        const TRun full = AnalyseWithSeed(file, 830, 830, 2, never, 820);
        ASSERT_TRUE(full.fEnded);
        ASSERT_EQ(full.fParts.size(), 1u);
        ASSERT_GE(never.fReports.size(), 2u);
        EXPECT_EQ(never.fReports[0], never.fReports[1]);
        TStopAtCall stop(2);
        const TRun run = AnalyseWithSeed(file, 830, 830, 2, stop, 820);
        EXPECT_FALSE(run.fEnded);
        EXPECT_TRUE(run.fParts.empty());
        EXPECT_EQ(run.fLines, (std::vector<std::string>{"Covered : 0", "Analysis interrupted"}));
    }
}
