// The greedy conflict matching done literally, step by step, as the reference that
// the fast TTextDistanceManager is compared with (tests/analysis) and measured
// against (bench/). Its cost is the square of the number of candidate links per
// pass: keep it to short texts. ScanChosenLinks, checked against it, reaches texts
// of a few thousand characters.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
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

// The same kept links, a pass costing one look at each link in play instead of a
// comparison of every link with every other. A link's count after t passes is
// t c0 - rowSum[Pos1] - columnSum[Pos2]: c0 its conflicts at the start (two
// quadrant counts from a table of the links up-left of each cell), and each
// removal takes from the links that stay a term of their row and one of their
// column (the removed links of Pos1 <= p and Pos2 >= q that conflict with them,
// and those of Pos1 >= p and Pos2 <= q), summed pass after pass.
inline std::vector<TLink> ScanChosenLinks(const std::string& a, const std::string& b) {
    const size_t m = a.size();
    const size_t n = b.size();
    // upLeft[x * (n + 1) + y]: links in rows 1..x and columns 1..y.
    std::vector<int32_t> upLeft((m + 1) * (n + 1), 0);
    auto at = [&](size_t x, size_t y) -> int32_t& { return upLeft[x * (n + 1) + y]; };
    for (size_t x = 1; x <= m; ++x)
        for (size_t y = 1; y <= n; ++y)
            at(x, y) = at(x - 1, y) + at(x, y - 1) - at(x - 1, y - 1) + (a[x - 1] == b[y - 1]);
    struct TCandidate {
        int32_t i, j;
        int64_t c0;
    };
    std::vector<TCandidate> links;
    for (size_t i = 1; i <= m; ++i)
        for (size_t j = 1; j <= n; ++j)
            if (a[i - 1] == b[j - 1]) {
                // Below-left: rows i..m, columns 1..j; above-right: rows 1..i, columns j..n.
                const int64_t q1 = at(m, j) - at(i - 1, j);
                const int64_t q2 = at(i, n) - at(i, j - 1);
                links.push_back({static_cast<int32_t>(i), static_cast<int32_t>(j), q1 + q2 - 1});
            }
    std::vector<int64_t> rowAdjust(m + 2), rowSum(m + 2), columnAdjust(n + 2), columnSum(n + 2);
    std::vector<TLink> chosen;
    for (int64_t t = 1; !links.empty(); ++t) {
        for (size_t x = 1; x <= m; ++x) rowSum[x] += rowAdjust[x];
        for (size_t y = 1; y <= n; ++y) columnSum[y] += columnAdjust[y];
        size_t best = 0;
        int64_t bestValue = 0;
        for (size_t k = 0; k < links.size(); ++k) {
            const TCandidate& l = links[k];
            const int64_t value =
                t * l.c0 - rowSum[static_cast<size_t>(l.i)] - columnSum[static_cast<size_t>(l.j)];
            if (k == 0 || value < bestValue) {
                best = k;
                bestValue = value;
            }
        }
        const int32_t p = links[best].i;
        const int32_t q = links[best].j;
        chosen.push_back({p, q, 0});
        // The removed links by row and by column: a (Pos1 <= p, Pos2 >= q) and b.
        std::vector<int64_t> aByRow(m + 2), bByRow(m + 2), aByColumn(n + 2), bByColumn(n + 2);
        std::vector<TCandidate> stay;
        for (const TCandidate& l : links) {
            const auto i = static_cast<size_t>(l.i);
            const auto j = static_cast<size_t>(l.j);
            if (l.i <= p && l.j >= q) {
                ++aByRow[i];
                ++aByColumn[j];
            } else if (l.i >= p && l.j <= q) {
                ++bByRow[i];
                ++bByColumn[j];
            } else {
                stay.push_back(l);
            }
        }
        links = std::move(stay);
        // Up-left of (p, q): rows lose the a-links of rows up to theirs, columns the
        // b-links of columns up to theirs; down-right: the b-links of rows from
        // theirs on, the a-links of columns from theirs on.
        int64_t running = 0;
        for (size_t x = 1; x < static_cast<size_t>(p); ++x) rowAdjust[x] += running += aByRow[x];
        running = 0;
        for (size_t x = m; x > static_cast<size_t>(p); --x) rowAdjust[x] += running += bByRow[x];
        running = 0;
        for (size_t y = 1; y < static_cast<size_t>(q); ++y)
            columnAdjust[y] += running += bByColumn[y];
        running = 0;
        for (size_t y = n; y > static_cast<size_t>(q); --y)
            columnAdjust[y] += running += aByColumn[y];
    }
    return chosen;
}

// English-like text: common words with blanks, now and then a comma or a full stop
// and a capital, cut to `length` characters.
inline std::string ProseLike(size_t length, std::mt19937& engine) {
    static const char* const words[] = {
        "the",      "of",      "and",   "to",     "a",      "in",    "that",    "is",     "was",
        "he",       "for",     "it",    "with",   "as",     "his",   "on",      "be",     "at",
        "by",       "had",     "not",   "are",    "but",    "from",  "or",      "have",   "an",
        "they",     "which",   "one",   "you",    "were",   "her",   "all",     "she",    "there",
        "would",    "their",   "we",    "him",    "been",   "has",   "when",    "who",    "will",
        "more",     "no",      "if",    "out",    "so",     "said",  "what",    "up",     "its",
        "about",    "into",    "than",  "them",   "can",    "only",  "other",   "new",    "some",
        "could",    "time",    "these", "two",    "may",    "then",  "do",      "first",  "any",
        "my",       "now",     "such",  "like",   "our",    "over",  "man",     "me",     "even",
        "most",     "made",    "after", "also",   "did",    "many",  "before",  "must",   "through",
        "back",     "years",   "where", "much",   "your",   "way",   "well",    "down",   "should",
        "because",  "each",    "just",  "those",  "people", "house", "program", "letter", "window",
        "distance", "between", "texts", "quickly"};
    constexpr size_t count = sizeof(words) / sizeof(words[0]);
    auto uniform = [&](size_t high) {
        return std::uniform_int_distribution<size_t>(0, high)(engine);
    };
    std::string text;
    bool capital = true;
    while (text.size() < length) {
        // The smaller of two draws: the first words come more often.
        std::string word = words[std::min(uniform(count - 1), uniform(count - 1))];
        if (capital) word[0] = static_cast<char>(word[0] - 'a' + 'A');
        capital = false;
        const size_t mark = uniform(19);
        if (mark == 0) {
            word += '.';
            capital = true;
        } else if (mark == 1) {
            word += ',';
        }
        if (!text.empty()) text += ' ';
        text += word;
    }
    text.resize(length);
    return text;
}

// 4. Score.
inline double Distance(const std::string& a, const std::string& b) {
    const int32_t total = static_cast<int32_t>(a.size() + b.size());
    if (total == 0) return 100;
    const int32_t kept = static_cast<int32_t>(ChosenLinks(a, b).size());
    return static_cast<double>(200 * kept) / static_cast<double>(total);
}

}  // namespace text_distance_reference
