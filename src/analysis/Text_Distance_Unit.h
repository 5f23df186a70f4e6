// Text_Distance_Unit: the similarity score of two texts, from a greedy matching of
// their equal bytes.
//
// The score is exactly the one of the greedy conflict matching (its tie-breaks and
// its conflict counts accumulated over the passes included), computed without
// comparing every candidate link with every other: see Text_Distance_Unit.cpp. The
// literal step-by-step matching lives in the tests
// (tests/analysis/Text_Distance_Reference.h), which compare the two.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Progress.h"

// One match between byte Pos1 of the first text and the equal byte Pos2 of the
// second (both from 1), with its accumulated conflict count.
struct TLink {
    int32_t Pos1 = 0;
    int32_t Pos2 = 0;
    int64_t Conflicts = 0;  // 64-bit: see Text_Distance_Unit.cpp
};

class TTextDistanceManager {
  public:
    TTextDistanceManager() = default;

    // The score of `first` against `second`, from 0 to 100: 200 x (links kept) /
    // (total length), and 100 for two empty texts. Texts are Windows-1252 bytes,
    // compared byte by byte. Depends on the order of the two texts.
    double Distance(const std::string& first, const std::string& second) const;

    // The same score, reporting to `progress` as the matching goes (characters of
    // the first text settled, out of its length). When `progress` asks to stop,
    // the trace gets "Text distance interrupted" and the result is empty.
    std::optional<double> Distance(const std::string& first, const std::string& second,
                                   TProgress& progress) const;
};

// The links that the greedy matching keeps, in the order it keeps them (one per
// pass), each with Conflicts 0 as fChosenLinks holds them. Their number is the k of
// the score. Public for the differential tests and the benchmarks.
std::vector<TLink> TextDistanceChosenLinks(const std::string& first, const std::string& second);
// The same, reporting to `progress`; empty when it asked to stop (no trace line:
// the manager's Distance writes it).
std::optional<std::vector<TLink>> TextDistanceChosenLinks(const std::string& first,
                                                          const std::string& second,
                                                          TProgress& progress);
// The same, keeping a number per link only while the links are at most
// `keptLinks` and computing it where needed beyond: for the tests of both ways.
std::optional<std::vector<TLink>> TextDistanceChosenLinks(const std::string& first,
                                                          const std::string& second,
                                                          TProgress& progress, size_t keptLinks);

// The score for k kept links and the two lengths: 200 x k / (m + n), 100 when both
// texts are empty.
double TextDistanceScore(int64_t keptLinks, int64_t firstLength, int64_t secondLength);
