// The greedy conflict matching done literally, step by step, as the reference that
// the fast TTextDistanceManager is compared with (tests/analysis) and measured
// against (bench/). Its cost is the square of the number of candidate links per
// pass: keep it to short texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Text_Distance_Unit.h"

namespace text_distance_reference {

// L and M cannot both belong to one common subsequence.
inline bool Conflict(const TLink& l, const TLink& m) {
    return (l.Pos1 <= m.Pos1 && l.Pos2 >= m.Pos2) || (l.Pos1 >= m.Pos1 && l.Pos2 <= m.Pos2);
}

// fChosenLinks at the end of Distance, in the order the passes kept them.
inline std::vector<TLink> ChosenLinks(const std::string& a, const std::string& b) {
    std::vector<TLink> fLinks;
    std::vector<TLink> fChosenLinks;
    const int32_t m = static_cast<int32_t>(a.size());
    const int32_t n = static_cast<int32_t>(b.size());
    // 2. Candidate links, i outer and j inner, byte by byte.
    for (int32_t i = 1; i <= m; ++i)
        for (int32_t j = 1; j <= n; ++j)
            if (b[j - 1] == a[i - 1]) {
                TLink link;
                link.Pos1 = i;
                link.Pos2 = j;
                link.Conflicts = 0;
                fLinks.push_back(link);
            }
    // 3. Passes.
    while (!fLinks.empty()) {
        // 3.1 Counting, added to the counts of the passes before.
        for (TLink& l : fLinks)
            for (const TLink& other : fLinks)
                if (Conflict(l, other)) ++l.Conflicts;
        // 3.2 Choice: the first link with the smallest count.
        size_t best = 0;
        for (size_t k = 1; k < fLinks.size(); ++k)
            if (fLinks[k].Conflicts < fLinks[best].Conflicts) best = k;
        // 3.3 Keep a copy.
        TLink keptLink;
        keptLink.Pos1 = fLinks[best].Pos1;
        keptLink.Pos2 = fLinks[best].Pos2;
        keptLink.Conflicts = 0;
        fChosenLinks.push_back(keptLink);
        // 3.4 Removal: walk from the first entry; after a removal the walk looks at
        // the entry that moved into its place.
        size_t k = 0;
        while (k < fLinks.size()) {
            if (Conflict(fLinks[k], keptLink))
                fLinks.erase(fLinks.begin() + static_cast<std::ptrdiff_t>(k));
            else
                ++k;
        }
    }
    return fChosenLinks;
}

// 4. Score.
inline double Distance(const std::string& a, const std::string& b) {
    const int32_t total = static_cast<int32_t>(a.size() + b.size());
    if (total == 0) return 100;
    const int32_t kept = static_cast<int32_t>(ChosenLinks(a, b).size());
    return static_cast<double>(200 * kept) / static_cast<double>(total);
}

}  // namespace text_distance_reference
