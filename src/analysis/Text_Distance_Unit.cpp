// The greedy conflict matching, computed without the square of the link count.
//
// The matching, for the links still in play (all pairs of equal bytes at first),
// repeats passes of: add to every link's Conflicts the number of links in play that
// conflict with it (itself included); keep the first link of smallest Conflicts
// (list order: Pos1, then Pos2); remove every link that conflicts with the kept
// one. Done literally, one pass compares every link with every other.
//
// Links are kept in list order, row by row (a row is a position of the first text),
// each row's links sorted by column (position in the second text).
//
// - At the start, the number of links conflicting with L is c0(L) = Q1 + Q2 - 1 with
//   Q1 = #{M : M.Pos1 >= L.Pos1, M.Pos2 <= L.Pos2} and Q2 = #{M : M.Pos1 <= L.Pos1,
//   M.Pos2 >= L.Pos2}: the two quadrants of L, which share only L itself. A sweep
//   over the rows with a Fenwick tree over the columns gives both.
// - When K = (p, q) is kept, the links removed are R = Ra u Rb with
//   Ra = {M.Pos1 <= p, M.Pos2 >= q} and Rb = {M.Pos1 >= p, M.Pos2 <= q}. In a row
//   above p they are the links of column >= q, a suffix of the row; in a row below
//   p, those of column <= q, a prefix; row p goes whole. So the links in play of a
//   row always form one contiguous range, and removing costs O(|R|) plus a look at
//   each row.
// - A link L that stays lies up-left of K (Pos1 < p, Pos2 < q) or down-right
//   (Pos1 > p, Pos2 > q). Up-left, a link M of Ra has M.Pos2 >= q > L.Pos2, so it
//   conflicts with L exactly when M.Pos1 <= L.Pos1; a link of Rb has M.Pos1 >= p >
//   L.Pos1, so it conflicts with L exactly when M.Pos2 <= L.Pos2. L's count loses
//   #{Ra : Pos1 <= L.Pos1} + #{Rb : Pos2 <= L.Pos2}: a term of its row plus a term
//   of its column. Down-right, symmetrically, #{Ra : Pos2 >= L.Pos2} +
//   #{Rb : Pos1 >= L.Pos1}. K itself conflicts with no link that stays and none of
//   these counts includes it. Every row above p and column left of q holds only
//   up-left links, every row below p and column right of q only down-right ones,
//   so the count of every link in play is c0(L) - rowAdjust[Pos1] -
//   columnAdjust[Pos2], two arrays that each pass updates in O(m + n).
// - Accumulated over t passes, Conflicts(L) = t x c0(L) - rowSum[Pos1] -
//   columnSum[Pos2], where the sums add up the adjustments in force at each pass.
//
// A pass thus costs one read-only scan of the links in play (for the smallest
// count) plus O(m + n + |R|), instead of comparing every link with every other. The
// choices are the same: the scan goes in list order and only a strictly smaller
// count replaces the best.
//
// The counts are 64-bit: they grow with the cube of the length for texts of one
// repeated character (7 x 10^8 for two texts of 1500), so a 32-bit count overflows
// from about 2200 equal characters, and a wrapped count would make the most
// conflicting link look the best.
#include "analysis/Text_Distance_Unit.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "diagnostics/TraceUnit.h"

namespace {

// The candidate links in list order: row x (1 to m) holds the columns
// column[rowBegin[x]] .. column[rowEnd[x] - 1], ascending.
struct TLinkRows {
    std::vector<int32_t> column;
    std::vector<size_t> rowBegin;
    std::vector<size_t> rowEnd;
};

TLinkRows CandidateLinks(const std::string& a, const std::string& b) {
    // The positions in b of each byte value c: positions[start[c] .. start[c + 1]).
    std::array<size_t, 257> start{};
    for (const char c : b) ++start[static_cast<unsigned char>(c) + 1];
    for (size_t c = 1; c <= 256; ++c) start[c] += start[c - 1];
    std::vector<int32_t> positions(b.size());
    std::array<size_t, 256> next;
    std::copy(start.begin(), start.end() - 1, next.begin());
    for (size_t j = 0; j < b.size(); ++j)
        positions[next[static_cast<unsigned char>(b[j])]++] = static_cast<int32_t>(j + 1);

    TLinkRows links;
    size_t count = 0;
    for (const char c : a)
        count += start[static_cast<unsigned char>(c) + 1] - start[static_cast<unsigned char>(c)];
    links.column.reserve(count);
    links.rowBegin.assign(a.size() + 2, 0);
    links.rowEnd.assign(a.size() + 2, 0);
    for (size_t x = 1; x <= a.size(); ++x) {
        const auto c = static_cast<unsigned char>(a[x - 1]);
        links.rowBegin[x] = links.column.size();
        links.column.insert(links.column.end(),
                            positions.begin() + static_cast<std::ptrdiff_t>(start[c]),
                            positions.begin() + static_cast<std::ptrdiff_t>(start[c + 1]));
        links.rowEnd[x] = links.column.size();
    }
    return links;
}

class TFenwick {
  public:
    explicit TFenwick(size_t size) : fTree(size + 1, 0) {}
    void Add(int32_t index) {
        for (size_t i = static_cast<size_t>(index); i < fTree.size(); i += i & (~i + 1)) ++fTree[i];
    }
    // Number of added indexes <= index.
    uint32_t Prefix(int32_t index) const {
        uint32_t sum = 0;
        for (size_t i = static_cast<size_t>(index); i > 0; i -= i & (~i + 1)) sum += fTree[i];
        return sum;
    }

  private:
    std::vector<uint32_t> fTree;
};

// c0: the number of links conflicting with each link, itself included.
std::vector<uint32_t> InitialCounts(const TLinkRows& links, size_t m, size_t n) {
    std::vector<uint32_t> counts(links.column.size());
    // Q2 = #{M.Pos1 <= L.Pos1, M.Pos2 >= L.Pos2}: rows downwards, each row added
    // before its links are queried.
    TFenwick upper(n);
    uint32_t added = 0;
    for (size_t x = 1; x <= m; ++x) {
        for (size_t k = links.rowBegin[x]; k < links.rowEnd[x]; ++k) upper.Add(links.column[k]);
        added += static_cast<uint32_t>(links.rowEnd[x] - links.rowBegin[x]);
        for (size_t k = links.rowBegin[x]; k < links.rowEnd[x]; ++k)
            counts[k] = added - upper.Prefix(links.column[k] - 1);
    }
    // Q1 = #{M.Pos1 >= L.Pos1, M.Pos2 <= L.Pos2}: rows upwards.
    TFenwick lower(n);
    for (size_t x = m; x >= 1; --x) {
        for (size_t k = links.rowBegin[x]; k < links.rowEnd[x]; ++k) lower.Add(links.column[k]);
        for (size_t k = links.rowBegin[x]; k < links.rowEnd[x]; ++k)
            counts[k] += lower.Prefix(links.column[k]) - 1;
    }
    return counts;
}

}  // namespace

std::optional<std::vector<TLink>> TextDistanceChosenLinks(const std::string& first,
                                                          const std::string& second,
                                                          TProgress& progress) {
    std::vector<TLink> chosen;
    const size_t m = first.size();
    const size_t n = second.size();
    TLinkRows links = CandidateLinks(first, second);
    size_t inPlay = links.column.size();
    if (inPlay == 0) return chosen;
    const std::vector<uint32_t> initial = InitialCounts(links, m, n);
    const int32_t* column = links.column.data();
    std::vector<size_t>& rowBegin = links.rowBegin;
    std::vector<size_t>& rowEnd = links.rowEnd;

    // Index 0 and m + 1 / n + 1 are guards of the running sums.
    std::vector<int64_t> rowAdjust(m + 2), rowSum(m + 2), columnAdjust(n + 2), columnSum(n + 2);
    std::vector<int64_t> raByRow(m + 2), rbByRow(m + 2), raByColumn(n + 2), rbByColumn(n + 2);

    const int64_t passes = static_cast<int64_t>(std::min(m, n));
    for (int64_t pass = 1; inPlay > 0; ++pass) {
        if (progress.Report(pass - 1, passes)) return std::nullopt;
        // Counting: this pass's counts join the sums.
        for (size_t x = 1; x <= m; ++x) rowSum[x] += rowAdjust[x];
        for (size_t y = 1; y <= n; ++y) columnSum[y] += columnAdjust[y];

        // Choice: the first link, in list order, of smallest accumulated count.
        bool found = false;
        int64_t best = 0;
        int32_t p = 0;
        int32_t q = 0;
        for (size_t x = 1; x <= m; ++x) {
            const size_t begin = rowBegin[x];
            const size_t end = rowEnd[x];
            if (begin == end) continue;
            size_t rowBest = begin;
            int64_t rowValue = pass * initial[begin] - columnSum[column[begin]];
            for (size_t k = begin + 1; k < end; ++k) {
                const int64_t value = pass * initial[k] - columnSum[column[k]];
                if (value < rowValue) {
                    rowValue = value;
                    rowBest = k;
                }
            }
            const int64_t value = rowValue - rowSum[x];
            if (!found || value < best) {
                found = true;
                best = value;
                p = static_cast<int32_t>(x);
                q = column[rowBest];
            }
        }
        chosen.push_back({p, q, 0});

        // Removal, with the histograms of Ra and Rb by row and by column.
        for (size_t x = 1; x <= m; ++x) {
            size_t& begin = rowBegin[x];
            size_t& end = rowEnd[x];
            if (static_cast<int32_t>(x) < p) {
                for (; end > begin && column[end - 1] >= q; --end, --inPlay) {
                    ++raByRow[x];
                    ++raByColumn[column[end - 1]];
                }
            } else if (static_cast<int32_t>(x) > p) {
                for (; begin < end && column[begin] <= q; ++begin, --inPlay) {
                    ++rbByRow[x];
                    ++rbByColumn[column[begin]];
                }
            } else {
                for (size_t k = begin; k < end; ++k) {
                    if (column[k] >= q) {
                        ++raByRow[x];
                        ++raByColumn[column[k]];
                    } else {
                        ++rbByRow[x];
                        ++rbByColumn[column[k]];
                    }
                }
                inPlay -= end - begin;
                begin = end;
            }
        }

        // The counts of those that stay: rows above p lose #{Ra : Pos1 <= x}, rows
        // below p #{Rb : Pos1 >= x}; columns left of q lose #{Rb : Pos2 <= y},
        // columns right of q #{Ra : Pos2 >= y}. The histograms are emptied on the way.
        int64_t running = 0;
        for (size_t x = 1; x < static_cast<size_t>(p); ++x) {
            running += raByRow[x];
            raByRow[x] = 0;
            rowAdjust[x] += running;
        }
        raByRow[static_cast<size_t>(p)] = 0;
        running = 0;
        for (size_t x = m; x > static_cast<size_t>(p); --x) {
            running += rbByRow[x];
            rbByRow[x] = 0;
            rowAdjust[x] += running;
        }
        rbByRow[static_cast<size_t>(p)] = 0;
        running = 0;
        for (size_t y = 1; y < static_cast<size_t>(q); ++y) {
            running += rbByColumn[y];
            rbByColumn[y] = 0;
            columnAdjust[y] += running;
        }
        rbByColumn[static_cast<size_t>(q)] = 0;
        running = 0;
        for (size_t y = n; y > static_cast<size_t>(q); --y) {
            running += raByColumn[y];
            raByColumn[y] = 0;
            columnAdjust[y] += running;
        }
        raByColumn[static_cast<size_t>(q)] = 0;
    }
    return chosen;
}

std::vector<TLink> TextDistanceChosenLinks(const std::string& first, const std::string& second) {
    return *TextDistanceChosenLinks(first, second, NoProgress());
}

double TextDistanceScore(int64_t keptLinks, int64_t firstLength, int64_t secondLength) {
    const int64_t total = firstLength + secondLength;
    if (total == 0) return 100.0;
    // Both operands are whole numbers far below 2^53, so the quotient is the one
    // division rounds once; for totals up to 2048 it is also what an 80-bit
    // division rounded to 64 bits would give.
    return static_cast<double>(200 * keptLinks) / static_cast<double>(total);
}

double TTextDistanceManager::Distance(const std::string& first, const std::string& second) const {
    return *Distance(first, second, NoProgress());
}

std::optional<double> TTextDistanceManager::Distance(const std::string& first,
                                                     const std::string& second,
                                                     TProgress& progress) const {
    const auto chosen = TextDistanceChosenLinks(first, second, progress);
    if (!chosen) {
        Messenger.Send("Text distance interrupted");
        return std::nullopt;
    }
    return TextDistanceScore(static_cast<int64_t>(chosen->size()),
                             static_cast<int64_t>(first.size()),
                             static_cast<int64_t>(second.size()));
}
