// Discriminant_Analysis_Unit: partition of a picture into rectangular parts of
// homogeneous colour.
//
// Square seeds of a fixed size are dropped at random free places of the picture
// control; each seed grows one pixel at a time on each side for as long as the
// strip it would take in is about as homogeneous as the part itself, and seeds
// that cannot grow are dropped. This goes on until the parts cover the requested
// percentage of the control; the parts are then listed in the trace and outlined
// in white on the picture.
//
// Homogeneity is estimated by sampling: the mean colour distance between random
// pairs of pixels, one pair per ten pixels of area.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Progress.h"
#include "diagnostics/Chrono_Unit.h"
#include "platform/Bitmap.h"
#include "platform/Picture.h"

// One rectangular part: the pixels from Left to Right - 1 and from Top to
// Bottom - 1.
class TPart {
  public:
    TPart() = default;
    TPart(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : Left(left), Top(top), Right(right), Bottom(bottom) {}

    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    // The last computed homogeneity (lower is more uniform).
    int32_t Homogeneity = 0;

    TRect Rect() const { return TRect{Left, Top, Right, Bottom}; }
};

// The profiler that times the analysis; each new manager replaces it with a
// fresh one.
extern std::unique_ptr<TChrono> AnalysisChrono;

class TDiscriminantAnalysisManager {
  public:
    // Seed tries in a row that bring no new part (a place that is not free, or a
    // seed that cannot grow) after which the search gives up: then no free place
    // is left for a seed, or none that can grow.
    static constexpr int32_t kMaxFruitlessTries = 10000;
    // The settings that callers accept: seeds of fewer than 10 pixels a side would
    // sample their one-pixel strips with no pair at all; the percentages start at 0;
    // none goes beyond 100000.
    static constexpr int32_t kLowestMinPartSize = 10;
    static constexpr int32_t kLowestPercentage = 0;
    static constexpr int32_t kHighestSetting = 100000;

    // The control is not owned; it must outlive the manager.
    explicit TDiscriminantAnalysisManager(IPicture& picture);

    // Loads `fileName` (the caller passes fFileName) into the control, partitions
    // the control's area with seeds of side `minPartSize` until the parts cover
    // more than `coverage` per cent of it, each part growing while its strips
    // differ in homogeneity from the part by at most `maxVariability` per cent,
    // then lists and outlines the parts. When the coverage cannot be reached
    // (no free place is left for a seed, or the seed does not fit in the
    // control), sends a warning and lists the parts found so far. A picture file
    // that cannot be read raises EFileError before anything is drawn.
    //
    // `progress` hears the area covered, in pixels, out of the area to cover
    // (coverage per cent of the control, overlaps counted twice as the coverage
    // check counts them), with the part that is growing once it is sure to be
    // kept. It is asked at each growth round, every 256 seed tries and every
    // 16384 pixel pairs sampled (about a millisecond on a large picture). When
    // it asks for a stop the analysis ends there and returns false: the control
    // holds the loaded picture with no outline drawn, Parts() the parts accepted
    // so far (the seed that was growing is dropped), and the trace shows the
    // last "Covered : " line followed by "Analysis interrupted"; no part is
    // listed. True when the analysis ran to its end.
    bool Analyse(const std::string& fileName, int32_t minPartSize, int32_t coverage,
                 int32_t maxVariability, TProgress& progress = NoProgress());

    // The steps of Analyse, public so that each can be run on its own.

    // Stores the settings and the control's width and height, empties the parts
    // and reseeds the random source.
    void SetUp(int32_t minPartSize, int32_t coverage, int32_t maxVariability);
    // Clears the trace and sends "Covered : " with the whole per cent of the
    // control covered by the parts (overlaps counted twice); true when above
    // the coverage asked for.
    bool SufficientCover();
    // A seed at a random place that touches no part. `fruitlessTries` counts the
    // tries in a row that brought no part; the search gives up (nothing) when it
    // reaches kMaxFruitlessTries, or at once when the seed does not fit in the
    // control. Within Analyse, this step, CalculateHomogeneity and ExtendPart
    // also end early, with a meaningless result, when a stop is asked.
    std::optional<TPart> CreateNewPart(int32_t& fruitlessTries);
    // True when a seed of fMinPartSize pixels fits in the control.
    bool SeedFits() const;
    // The mean colour distance of Trunc(area / 10) random pixel pairs of the
    // rectangle (at least one pair).
    int32_t CalculateHomogeneity(const TRect& rect);
    // Grows the part round after round; the number of rounds, so 1 for a part
    // that could not grow at all.
    int32_t ExtendPart(TPart& part);
    // Orders the part's edges: Left <= Right, Top <= Bottom.
    static void Clean(TPart& part);
    // Cleans, sends and outlines every part, in order.
    void DisplayPartList();
    // Sends "Left Top Right Bottom".
    static void SendPart(const TPart& part);

    void AddPart(const TPart& part) { fParts.push_back(part); }
    const std::vector<TPart>& Parts() const { return fParts; }

    std::string fFileName;

  private:
    IPicture& fPicture;
    int32_t fWidth = 0;
    int32_t fHeight = 0;
    int32_t fMinPartSize = 0;
    int32_t fCoverage = 0;
    int32_t fMaxVariability = 0;
    std::vector<TPart> fParts;

    // Reports the covered area, with fGrowing, to fProgress; true, remembered in
    // fInterrupted, when a stop is asked.
    bool StopAsked();
    TProgress* fProgress = &NoProgress();
    bool fInterrupted = false;
    // The area of the parts at the last coverage check, and of the part growing
    // once it has grown (a part that grew is kept).
    int64_t fCovered = 0;
    int64_t fGrowing = 0;
};
