// The greedy conflict matching, computed without the square of the link count.
//
// The matching, for the links still in play (all pairs of equal bytes at first),
// repeats passes of: add to every link's Conflicts the number of links in play that
// conflict with it (itself included); keep the first link of smallest Conflicts
// (list order: Pos1, then Pos2); remove every link that conflicts with the kept
// one. Done literally, one pass compares every link with every other.
//
// Here every link also carries `current`, the number of links in play that
// conflict with it, so that the counting step of a pass is one addition per link.
//
// - At the start, current(L) = Q1 + Q2 - 1 with Q1 = #{M : M.Pos1 >= L.Pos1,
//   M.Pos2 <= L.Pos2} and Q2 = #{M : M.Pos1 <= L.Pos1, M.Pos2 >= L.Pos2}: the two
//   quadrants of L, which share only L itself. A sweep over the rows with a Fenwick
//   tree over the columns gives both in O(links x log n).
// - When K = (p, q) is kept, the links removed are R = Ra u Rb with
//   Ra = {M.Pos1 <= p, M.Pos2 >= q} and Rb = {M.Pos1 >= p, M.Pos2 <= q}; a link that
//   stays lies either up-left of K (Pos1 < p and Pos2 < q) or down-right (Pos1 > p
//   and Pos2 > q). For a link L up-left of K, a link M of Ra has M.Pos2 >= q >
//   L.Pos2, so it conflicts with L exactly when M.Pos1 <= L.Pos1; a link of Rb has
//   M.Pos1 >= p > L.Pos1, so it conflicts with L exactly when M.Pos2 <= L.Pos2. So
//   current(L) loses #{Ra : Pos1 <= L.Pos1} + #{Rb : Pos2 <= L.Pos2}, a function of
//   the row plus a function of the column. Down-right of K, symmetrically, it loses
//   #{Ra : Pos2 >= L.Pos2} + #{Rb : Pos1 >= L.Pos1}. K itself, in both sets,
//   conflicts with no link that stays, and none of these counts includes it. Four
//   histograms of R and their running sums give every update in constant time.
//
// A pass therefore costs O(links in play + m + n) instead of the square of the
// links in play, with the same choices: the links stay in list order (the removal
// keeps the order of those that stay), the first smallest count wins, and counts
// are accumulated pass after pass.
//
// The accumulated counts are 64-bit: they grow with the cube of the length for
// texts of one repeated character (7 x 10^8 for two texts of 1500), so a 32-bit
// count overflows from about 2200 equal characters, and a wrapped count would make
// the most conflicting link look the best.
#include "analysis/Text_Distance_Unit.h"

#include <array>
#include <cstddef>

namespace {

struct TWorkLink {
    int32_t pos1;
    int32_t pos2;
    uint32_t current;   // conflicts with the links in play (itself included)
    int64_t conflicts;  // accumulated over the passes
};

// Every pair of equal bytes, ordered by Pos1 then Pos2.
std::vector<TWorkLink> CandidateLinks(const std::string& a, const std::string& b) {
    std::array<std::vector<int32_t>, 256> positions;  // positions in b of each byte value
    for (size_t j = 0; j < b.size(); ++j)
        positions[static_cast<unsigned char>(b[j])].push_back(static_cast<int32_t>(j + 1));
    size_t count = 0;
    for (const char c : a) count += positions[static_cast<unsigned char>(c)].size();
    std::vector<TWorkLink> links;
    links.reserve(count);
    for (size_t i = 0; i < a.size(); ++i)
        for (const int32_t j : positions[static_cast<unsigned char>(a[i])])
            links.push_back({static_cast<int32_t>(i + 1), j, 0, 0});
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

// current := the number of links conflicting with each link, itself included.
void InitialCounts(std::vector<TWorkLink>& links, size_t n) {
    const size_t size = links.size();
    // Q2 = #{M.Pos1 <= L.Pos1, M.Pos2 >= L.Pos2}: rows upwards, each row added before
    // its links are queried.
    TFenwick upper(n);
    uint32_t added = 0;
    for (size_t start = 0; start < size;) {
        size_t end = start;
        while (end < size && links[end].pos1 == links[start].pos1) ++end;
        for (size_t k = start; k < end; ++k) upper.Add(links[k].pos2);
        added += static_cast<uint32_t>(end - start);
        for (size_t k = start; k < end; ++k)
            links[k].current = added - upper.Prefix(links[k].pos2 - 1);
        start = end;
    }
    // Q1 = #{M.Pos1 >= L.Pos1, M.Pos2 <= L.Pos2}: rows downwards.
    TFenwick lower(n);
    for (size_t end = size; end > 0;) {
        size_t start = end;
        while (start > 0 && links[start - 1].pos1 == links[end - 1].pos1) --start;
        for (size_t k = start; k < end; ++k) lower.Add(links[k].pos2);
        for (size_t k = start; k < end; ++k) links[k].current += lower.Prefix(links[k].pos2) - 1;
        end = start;
    }
}

}  // namespace

std::vector<TLink> TextDistanceChosenLinks(const std::string& first, const std::string& second) {
    std::vector<TLink> chosen;
    std::vector<TWorkLink> links = CandidateLinks(first, second);
    if (links.empty()) return chosen;
    const size_t m = first.size();
    const size_t n = second.size();
    InitialCounts(links, n);

    // The counting step of the first pass, and its choice.
    size_t best = 0;
    int64_t bestCount = 0;
    for (size_t k = 0; k < links.size(); ++k) {
        links[k].conflicts += links[k].current;
        const int64_t count = links[k].conflicts;
        if (k == 0 || count < bestCount) {
            best = k;
            bestCount = count;
        }
    }

    // Histograms of the removed links, then their running sums (index 0 and m + 1 /
    // n + 1 are guards).
    std::vector<uint32_t> raByRow(m + 2), rbByRow(m + 2), raByColumn(n + 2), rbByColumn(n + 2);
    size_t inPlay = links.size();
    while (inPlay > 0) {
        const int32_t p = links[best].pos1;
        const int32_t q = links[best].pos2;
        chosen.push_back({p, q, 0});

        std::fill(raByRow.begin(), raByRow.end(), 0u);
        std::fill(rbByRow.begin(), rbByRow.end(), 0u);
        std::fill(raByColumn.begin(), raByColumn.end(), 0u);
        std::fill(rbByColumn.begin(), rbByColumn.end(), 0u);
        for (size_t k = 0; k < inPlay; ++k) {
            const int32_t x = links[k].pos1;
            const int32_t y = links[k].pos2;
            if (x <= p && y >= q) {
                ++raByRow[x];
                ++raByColumn[y];
            } else if (x >= p && y <= q) {
                ++rbByRow[x];
                ++rbByColumn[y];
            }
        }
        // raByRow[x] := #Ra with Pos1 <= x;    rbByColumn[y] := #Rb with Pos2 <= y;
        // raByColumn[y] := #Ra with Pos2 >= y; rbByRow[x] := #Rb with Pos1 >= x.
        for (size_t x = 1; x <= m; ++x) raByRow[x] += raByRow[x - 1];
        for (size_t y = 1; y <= n; ++y) rbByColumn[y] += rbByColumn[y - 1];
        for (size_t y = n; y >= 1; --y) raByColumn[y] += raByColumn[y + 1];
        for (size_t x = m; x >= 1; --x) rbByRow[x] += rbByRow[x + 1];

        // Removal, in order, with the new counts of those that stay; then the
        // counting step and the choice of the next pass, in the same walk.
        size_t kept = 0;
        for (size_t k = 0; k < inPlay; ++k) {
            TWorkLink link = links[k];
            const int32_t x = link.pos1;
            const int32_t y = link.pos2;
            if (x < p && y < q)
                link.current -= raByRow[x] + rbByColumn[y];
            else if (x > p && y > q)
                link.current -= raByColumn[y] + rbByRow[x];
            else
                continue;
            link.conflicts += link.current;
            const int64_t count = link.conflicts;
            if (kept == 0 || count < bestCount) {
                best = kept;
                bestCount = count;
            }
            links[kept++] = link;
        }
        inPlay = kept;
    }
    return chosen;
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
    const auto chosen = TextDistanceChosenLinks(first, second);
    return TextDistanceScore(static_cast<int64_t>(chosen.size()),
                             static_cast<int64_t>(first.size()),
                             static_cast<int64_t>(second.size()));
}
