// The discriminant analysis against its steps written out literally, pair after
// pair and part after part, on many random pictures and settings: the same random
// draws in the same order give the same parts, homogeneities and trace lines.
// And one golden run of the shipped photograph.
#include <gtest/gtest.h>

#include <cstdlib>

#include "analysis/Discriminant_Analysis_Unit.h"
#include "analysis/Transform_Picture_Fixtures.h"
#include "base/Real_Format.h"
#include "common/My_Types_Unit.h"
#include "common/Random_Source.h"
#include "support/Trace_Capture.h"

using namespace picture_fixtures;

namespace {

// Gives one bitmap for any file, so that Analyse reads what the test made.
class TGivenPicture : public IPictureReader {
  public:
    explicit TGivenPicture(const TBitmap& picture) : fPicture(picture) { SetPictureReader(this); }
    ~TGivenPicture() override { SetPictureReader(nullptr); }
    TBitmap Decode(const std::string&, TPictureFormat) override { return fPicture; }

  private:
    const TBitmap& fPicture;
};

// The analysis step by step, one pixel pair at a time, reading each pixel where
// the control shows it.
class TLiteralAnalysis {
  public:
    TLiteralAnalysis(const TBitmap& picture, int32_t width, int32_t height, int32_t minPartSize,
                     int32_t coverage, int32_t maxVariability)
        : fPicture(picture),
          fWidth(width),
          fHeight(height),
          fMinPartSize(minPartSize),
          fCoverage(coverage),
          fMaxVariability(maxVariability) {}

    // The trace lines of a run from the random source's present state.
    std::vector<std::string> Run() {
        int32_t fruitless = 0;
        for (;;) {
            int64_t covered = 0;
            for (const TPart& p : fParts)
                covered += int64_t{std::abs(p.Right - p.Left)} * std::abs(p.Top - p.Bottom);
            const double pct = static_cast<double>(covered) / (double{1} * fWidth * fHeight) * 100;
            fLines = {"Covered : " + IntToStr(static_cast<int64_t>(pct))};
            if (pct > fCoverage) break;
            if (fMinPartSize > fWidth || fMinPartSize > fHeight) {
                fLines.push_back("gave up");
                return fLines;
            }
            TPart part;
            bool found = false;
            while (!found && fruitless < TDiscriminantAnalysisManager::kMaxFruitlessTries) {
                part.Left = RandomInt(fWidth - fMinPartSize);
                part.Top = RandomInt(fHeight - fMinPartSize);
                part.Right = part.Left + fMinPartSize;
                part.Bottom = part.Top + fMinPartSize;
                found = true;
                for (const TPart& p : fParts)
                    if (!(IntersectRects(p.Rect(), part.Rect()) == TRect{0, 0, 0, 0}))
                        found = false;
                if (!found) ++fruitless;
            }
            if (!found) {
                fLines.push_back("gave up");
                return fLines;
            }
            part.Homogeneity = Homogeneity(part.Rect());
            if (Extend(part) < 2) {
                ++fruitless;
                continue;
            }
            fParts.push_back(part);
            fruitless = 0;
        }
        for (const TPart& p : fParts)
            fLines.push_back(IntToStr(p.Left) + " " + IntToStr(p.Top) + " " + IntToStr(p.Right) +
                             " " + IntToStr(p.Bottom));
        return fLines;
    }

    std::vector<TPart> fParts;

  private:
    TColor Pixel(int32_t x, int32_t y) const {
        if (x < 0 || y < 0 || x >= fPicture.Width() || y >= fPicture.Height())
            return kPictureBackground;
        return fPicture.Pixel(x, y);
    }

    int32_t Homogeneity(const TRect& r) {
        const int32_t a = std::abs(r.Right - r.Left), b = std::abs(r.Top - r.Bottom);
        int64_t n = int64_t{a} * b / 10;
        if (n < 1) n = 1;
        int64_t sum = 0;
        for (int64_t i = 0; i < n; ++i) {
            const int32_t dx1 = RandomInt(a), dy1 = RandomInt(b);
            const int32_t dx2 = RandomInt(a), dy2 = RandomInt(b);
            const int32_t x = Min(r.Left, r.Right), y = Min(r.Top, r.Bottom);
            sum += ColorDistance(Pixel(x + dx1, y + dy1), Pixel(x + dx2, y + dy2));
        }
        return static_cast<int32_t>(sum / n);
    }

    bool Fits(const TRect& probe, int32_t h) {
        return RectArea(probe) > 0 && std::abs(Homogeneity(probe) - h) <=
                                          static_cast<double>(int64_t{h} * fMaxVariability) / 100;
    }

    int32_t Extend(TPart& p) {
        int32_t count = 0;
        bool grown = true;
        while (grown) {
            grown = false;
            ++count;
            p.Homogeneity = Homogeneity(p.Rect());
            const int32_t h = p.Homogeneity;
            if (Fits(TRect{p.Right, p.Top, Min(p.Right + 1, fWidth), p.Bottom}, h))
                p.Right = Min(p.Right + 1, fWidth), grown = true;
            if (Fits(TRect{Max(p.Left - 1, 0), p.Top, p.Left, p.Bottom}, h))
                p.Left = Max(p.Left - 1, 0), grown = true;
            if (Fits(TRect{p.Left, p.Bottom, p.Right, Min(p.Bottom + 1, fHeight)}, h))
                p.Bottom = Min(p.Bottom + 1, fHeight), grown = true;
            if (Fits(TRect{p.Left, Max(p.Top - 1, 0), p.Right, p.Top}, h))
                p.Top = Max(p.Top - 1, 0), grown = true;
        }
        return count;
    }

    const TBitmap& fPicture;
    int32_t fWidth, fHeight, fMinPartSize, fCoverage, fMaxVariability;
    std::vector<std::string> fLines;
};

// A picture of random rectangles of random colours, some of them noisy, on a
// random ground: parts of every homogeneity.
TBitmap RandomPicture(int32_t width, int32_t height) {
    TBitmap b(width, height);
    b.Fill(static_cast<TColor>(RandomInt(0x1000000)));
    const int32_t shapes = 1 + RandomInt(12);
    for (int32_t s = 0; s < shapes; ++s) {
        const int32_t x0 = RandomInt(width), y0 = RandomInt(height);
        const int32_t x1 = Min(width, x0 + 1 + RandomInt(width)),
                      y1 = Min(height, y0 + 1 + RandomInt(height));
        const TColor colour = static_cast<TColor>(RandomInt(0x1000000));
        const int32_t noise = RandomInt(3) == 0 ? RandomInt(120) : 0;
        for (int32_t y = y0; y < y1; ++y)
            for (int32_t x = x0; x < x1; ++x) {
                const int32_t n = noise ? RandomInt(noise) : 0;
                b.SetPixel(x, y, (colour + static_cast<TColor>(n * 0x010101)) & 0xFFFFFF);
            }
    }
    return b;
}

}  // namespace

TEST(DiscriminantAnalysisLiteral, TheSamePartsAsTheStepsWrittenOutOnRandomPictures) {
    TTraceCapture trace;
    const std::string file = WriteTemp("given.png", "not read");
    for (int run = 0; run < 60; ++run) {
        SCOPED_TRACE(run);
        RandomSeed(1000 + run);
        // The control is at times larger than the picture, which it shows on its
        // background colour.
        const int32_t width = 30 + RandomInt(150), height = 30 + RandomInt(120);
        const bool larger = RandomInt(4) == 0;
        const TBitmap bitmap = RandomPicture(larger ? width - RandomInt(20) : width,
                                             larger ? height - RandomInt(20) : height);
        const int32_t minPartSize = 10 + RandomInt(16);
        const int32_t coverage = 20 + RandomInt(80);
        const int32_t variability = RandomInt(4) == 0 ? 0 : RandomInt(200);
        const uint64_t seed = 77 + static_cast<uint64_t>(run);

        TGivenPicture reader(bitmap);
        TMemoryPicture picture(width, height);
        TDiscriminantAnalysisManager manager(picture);
        trace.Reset();
        SetFixedSeed(seed);
        EXPECT_TRUE(manager.Analyse(file, minPartSize, coverage, variability));
        SetFixedSeed(std::nullopt);
        const std::vector<std::string> lines = trace.Lines();

        RandomSeed(seed);
        TLiteralAnalysis literal(bitmap, width, height, minPartSize, coverage, variability);
        std::vector<std::string> expected = literal.Run();
        if (expected.back() == "gave up") {
            // The warning's words are the unit's own; what matters is where it stops.
            ASSERT_EQ(lines.size(), expected.size() + manager.Parts().size());
            expected.pop_back();
            EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 1), expected);
            EXPECT_EQ(lines[1].rfind("Warning : ", 0), 0u);
        } else {
            EXPECT_EQ(lines, expected);
        }
        ASSERT_EQ(manager.Parts().size(), literal.fParts.size());
        for (size_t i = 0; i < literal.fParts.size(); ++i) {
            EXPECT_EQ(manager.Parts()[i].Rect(), literal.fParts[i].Rect());
            EXPECT_EQ(manager.Parts()[i].Homogeneity, literal.fParts[i].Homogeneity);
        }
        // The same draws, to the last: the source is where the literal one left it.
        const int32_t next = RandomInt(1 << 30);
        SetFixedSeed(seed);
        TMemoryPicture again(width, height);
        TDiscriminantAnalysisManager second(again);
        second.Analyse(file, minPartSize, coverage, variability);
        SetFixedSeed(std::nullopt);
        EXPECT_EQ(RandomInt(1 << 30), next);
    }
}

TEST(DiscriminantAnalysisLiteral, TheShippedPhotographGivesItsKnownParts) {
    TTraceCapture trace;
    TMagickPictureReader reader;
    TMemoryPicture picture(489, 497);
    TDiscriminantAnalysisManager manager(picture);
    SetFixedSeed(2);
    manager.Analyse(std::string(KAVELIN_SOURCE_DIR) + "/Data/DiscrimAnalysis/dscf0001.bmp", 20, 90,
                    90);
    SetFixedSeed(std::nullopt);
    EXPECT_EQ(trace.Lines(),
              (std::vector<std::string>{"Covered : 132", "375 370 473 468", "61 180 131 245",
                                        "353 0 489 333", "210 424 274 497", "47 362 189 463",
                                        "0 0 489 497"}));
}
