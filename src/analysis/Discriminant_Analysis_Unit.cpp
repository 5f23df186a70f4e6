#include "analysis/Discriminant_Analysis_Unit.h"

#include <algorithm>
#include <cstdlib>

#include "base/Real_Format.h"
#include "common/My_Types_Unit.h"
#include "common/Random_Source.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Picture_Reader.h"

std::unique_ptr<TChrono> AnalysisChrono;

namespace {

// Times one section in AnalysisChrono from construction to destruction. The
// names are kept as strings once, since the sections run for every sample.
class TTimedSection {
  public:
    explicit TTimedSection(const std::string& section) : fSection(section) {
        if (AnalysisChrono) AnalysisChrono->StartTimer(fSection);
    }
    ~TTimedSection() {
        if (AnalysisChrono) AnalysisChrono->StopTimer(fSection);
    }
    TTimedSection(const TTimedSection&) = delete;
    TTimedSection& operator=(const TTimedSection&) = delete;

  private:
    const std::string& fSection;
};

const std::string kAnalyseSection = "Analyse Image";
const std::string kCoverSection = "SufficientCover";
const std::string kCreateSection = "Create New Part";
const std::string kHomogeneitySection = "Calculate Homogeneity";
const std::string kExtendSection = "Extend Part";
const std::string kCleanSection = "Clean";
const std::string kDisplaySection = "Display Part List";

}  // namespace

TDiscriminantAnalysisManager::TDiscriminantAnalysisManager(IPicture& picture) : fPicture(picture) {
    AnalysisChrono = std::make_unique<TChrono>();
}

bool TDiscriminantAnalysisManager::Analyse(const std::string& fileName, int32_t minPartSize,
                                           int32_t coverage, int32_t maxVariability,
                                           TProgress& progress) {
    TTimedSection timed(kAnalyseSection);
    fFileName = fileName;
    LoadPicture(fPicture, fFileName);
    SetUp(minPartSize, coverage, maxVariability);
    fProgress = &progress;
    fInterrupted = false;
    int32_t fruitlessTries = 0;
    while (!SufficientCover()) {
        std::optional<TPart> part = CreateNewPart(fruitlessTries);
        if (fInterrupted) break;
        if (!part) {
            const std::string size = IntToStr(fMinPartSize);
            const std::string reason =
                SeedFits()
                    ? "no seed found a free place and grew in " + IntToStr(kMaxFruitlessTries) +
                          " tries in a row"
                    : "a seed of " + size + " x " + size + " pixels does not fit in the picture";
            Messenger.Warning(
                "Discriminant_Analysis_Unit : TDiscriminantAnalysisManager.Analyse : " + reason +
                ", the coverage of " + IntToStr(fCoverage) + " % cannot be reached");
            break;
        }
        part->Homogeneity = CalculateHomogeneity(part->Rect());
        const int32_t rounds = fInterrupted ? 0 : ExtendPart(*part);
        if (fInterrupted) break;
        if (rounds < 2) {
            ++fruitlessTries;
            continue;
        }
        AddPart(*part);
        fruitlessTries = 0;
    }
    // The steps run on their own again without a listener.
    const bool interrupted = fInterrupted;
    fProgress = &NoProgress();
    fInterrupted = false;
    fGrowing = 0;
    if (interrupted) {
        Messenger.Send("Analysis interrupted");
        return false;
    }
    DisplayPartList();
    return true;
}

bool TDiscriminantAnalysisManager::StopAsked() {
    // Once a stop is asked every step on the way out ends without asking again.
    if (fInterrupted) return true;
    // The area to cover: just above it the coverage check passes.
    const int64_t area = int64_t{fWidth} * fHeight;
    const int64_t total = std::max<int64_t>(1, area * fCoverage / 100);
    const int64_t done = std::min(fCovered + fGrowing, total);
    fInterrupted = fProgress->Report(done, total);
    return fInterrupted;
}

void TDiscriminantAnalysisManager::SetUp(int32_t minPartSize, int32_t coverage,
                                         int32_t maxVariability) {
    fCoverage = coverage;
    fMinPartSize = minPartSize;
    fWidth = fPicture.Width();
    fHeight = fPicture.Height();
    fMaxVariability = maxVariability;
    fParts.clear();
    fCovered = 0;
    fGrowing = 0;
    Randomize();
}

bool TDiscriminantAnalysisManager::SufficientCover() {
    TTimedSection timed(kCoverSection);
    // 64-bit sums: the same as 32-bit ones for every picture that fits in memory,
    // without their overflow on huge ones.
    int64_t covered = 0;
    for (const TPart& part : fParts)
        covered += int64_t{std::abs(part.Right - part.Left)} * std::abs(part.Top - part.Bottom);
    fCovered = covered;
    const int64_t area = int64_t{fWidth} * fHeight;
    // A control without pixels has nothing covered (instead of 0 / 0).
    const double percent =
        area > 0 ? static_cast<double>(covered) / static_cast<double>(area) * 100 : 0;
    Messenger.ClearTrace();
    Messenger.Send("Covered : " + IntToStr(static_cast<int64_t>(percent)));
    return percent > fCoverage;
}

bool TDiscriminantAnalysisManager::SeedFits() const {
    return fMinPartSize >= 1 && fMinPartSize <= fWidth && fMinPartSize <= fHeight;
}

std::optional<TPart> TDiscriminantAnalysisManager::CreateNewPart(int32_t& fruitlessTries) {
    TTimedSection timed(kCreateSection);
    if (!SeedFits()) return std::nullopt;
    const TRect none{0, 0, 0, 0};
    while (fruitlessTries < kMaxFruitlessTries) {
        TPart seed;
        seed.Left = RandomInt(fWidth - fMinPartSize);
        seed.Top = RandomInt(fHeight - fMinPartSize);
        seed.Right = seed.Left + fMinPartSize;
        seed.Bottom = seed.Top + fMinPartSize;
        // A seed that only touches a part meets it in a rectangle of zero width
        // or height, which is not (0, 0, 0, 0): it is refused too. The first part
        // met settles it.
        bool free = true;
        for (size_t i = 0; free && i < fParts.size(); ++i)
            free = IntersectRects(fParts[i].Rect(), seed.Rect()) == none;
        if (free) return seed;
        ++fruitlessTries;
        if (fruitlessTries % 256 == 0 && StopAsked()) break;
    }
    return std::nullopt;
}

int32_t TDiscriminantAnalysisManager::CalculateHomogeneity(const TRect& rect) {
    TTimedSection timed(kHomogeneitySection);
    const int32_t a = std::abs(rect.Right - rect.Left);
    const int32_t b = std::abs(rect.Top - rect.Bottom);
    // One pair per ten pixels; a rectangle of fewer than ten pixels still gets one
    // pair rather than a division by zero.
    int64_t pairs = int64_t{a} * b / 10;
    if (pairs < 1) pairs = 1;
    const int32_t left = Min(rect.Left, rect.Right);
    const int32_t top = Min(rect.Top, rect.Bottom);
    const TBitmap& bitmap = fPicture.Bitmap();
    // The pairs are drawn a block at a time, each pixel's memory being asked for
    // (prefetched) as it is drawn, then read: the pixels of a block come from
    // memory together rather than one after the other, where the pixels of a
    // large picture are seldom in the cache. The draws keep their order, and the
    // sum does not depend on the order of its terms. The 256 pixels of a block
    // stay within the first-level cache.
    constexpr int64_t kBlock = 128;
    struct TPixelPair {
        int32_t x1, y1, x2, y2;
    };
    TPixelPair block[kBlock];
    const auto prefetch = [&bitmap](int32_t x, int32_t y) {
        if (bitmap.Contains(x, y)) __builtin_prefetch(bitmap.ScanLine(y) + x);
    };
    int64_t sum = 0;
    for (int64_t start = 0; start < pairs; start += kBlock) {
        if (start > 0 && start % 16384 == 0 && StopAsked()) return 0;
        const int64_t count = std::min(kBlock, pairs - start);
        for (int64_t i = 0; i < count; ++i) {
            TPixelPair& p = block[i];
            p.x1 = left + RandomInt(a);
            p.y1 = top + RandomInt(b);
            p.x2 = left + RandomInt(a);
            p.y2 = top + RandomInt(b);
            prefetch(p.x1, p.y1);
            prefetch(p.x2, p.y2);
        }
        for (int64_t i = 0; i < count; ++i) {
            const TPixelPair& p = block[i];
            sum +=
                ColorDistance(ControlPixel(bitmap, p.x1, p.y1), ControlPixel(bitmap, p.x2, p.y2));
        }
    }
    return static_cast<int32_t>(sum / pairs);
}

int32_t TDiscriminantAnalysisManager::ExtendPart(TPart& part) {
    TTimedSection timed(kExtendSection);
    Clean(part);
    int32_t count = 0;
    bool grown = true;
    fGrowing = 0;
    while (grown) {
        // A part that grew in its first round is kept: its area counts as covered.
        if (count >= 1) fGrowing = int64_t{part.Right - part.Left} * (part.Bottom - part.Top);
        if (StopAsked()) break;
        grown = false;
        ++count;
        part.Homogeneity = CalculateHomogeneity(part.Rect());
        const int32_t h = part.Homogeneity;
        const double tolerance = static_cast<double>(int64_t{h} * fMaxVariability) / 100;
        // A strip is taken when it has pixels and its homogeneity is close enough
        // to the part's; a part of homogeneity 0 takes only strips of homogeneity 0.
        const auto fits = [&](const TRect& probe) {
            return RectArea(probe) > 0 && std::abs(CalculateHomogeneity(probe) - h) <= tolerance &&
                   !fInterrupted;
        };
        // Right, left, bottom, top, each from the edges that the earlier sides of
        // this round have moved.
        TRect probe{part.Right, part.Top, Min(part.Right + 1, fWidth), part.Bottom};
        if (fits(probe)) {
            part.Right = probe.Right;
            grown = true;
        }
        probe = TRect{Max(part.Left - 1, 0), part.Top, part.Left, part.Bottom};
        if (fits(probe)) {
            part.Left = probe.Left;
            grown = true;
        }
        probe = TRect{part.Left, part.Bottom, part.Right, Min(part.Bottom + 1, fHeight)};
        if (fits(probe)) {
            part.Bottom = probe.Bottom;
            grown = true;
        }
        probe = TRect{part.Left, Max(part.Top - 1, 0), part.Right, part.Top};
        if (fits(probe)) {
            part.Top = probe.Top;
            grown = true;
        }
    }
    fGrowing = 0;
    return count;
}

void TDiscriminantAnalysisManager::Clean(TPart& part) {
    TTimedSection timed(kCleanSection);
    const TPart before = part;
    part.Left = Min(before.Left, before.Right);
    part.Right = Max(before.Left, before.Right);
    part.Top = Min(before.Top, before.Bottom);
    part.Bottom = Max(before.Top, before.Bottom);
}

void TDiscriminantAnalysisManager::DisplayPartList() {
    TTimedSection timed(kDisplaySection);
    for (TPart& part : fParts) {
        Clean(part);
        SendPart(part);
        if (part.Homogeneity >= 0)
            DrawRectOutline(part.Left + 1, part.Top + 1, part.Right - 1, part.Bottom - 1, clWhite,
                            fPicture);
    }
}

void TDiscriminantAnalysisManager::SendPart(const TPart& part) {
    Messenger.Send(IntToStr(part.Left) + " " + IntToStr(part.Top) + " " + IntToStr(part.Right) +
                   " " + IntToStr(part.Bottom));
}
