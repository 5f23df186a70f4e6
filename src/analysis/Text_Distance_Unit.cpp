// The greedy conflict matching, computed on the texts' positions.
//
// The matching, for the links still in play (all pairs of equal bytes at first),
// repeats passes of: add to every link's Conflicts the number of links in play that
// conflict with it (itself included); keep the first link of smallest Conflicts
// (list order: Pos1, then Pos2); remove every link that conflicts with the kept
// one. Done literally, one pass compares every link with every other.
//
// Boxes. Keeping K = (p, q) removes every link with Pos1 <= p and Pos2 >= q or with
// Pos1 >= p and Pos2 <= q; what stays lies up-left of K (Pos1 < p, Pos2 < q) or
// down-right (Pos1 > p, Pos2 > q), and no link of one part conflicts with a link of
// the other. Starting from the whole grid, the links in play are thus always every
// link of a few rectangles of rows and columns ("boxes"), each up-left of the next:
// a box is its four bounds, and its links are the positions of each letter inside
// them. Nothing is stored per link but one number (below), and not even that when
// the links are too many to keep.
//
// Counts. A link conflicts with the links below-left of it (Q1: Pos1 >= i,
// Pos2 <= j) and above-right (Q2: Pos1 <= i, Pos2 >= j), itself in both. A link M
// counts in the pass sums of L once for every pass both were in play, so
// Conflicts(L) = W1(L) + W2(L) - t after t passes, with W1 and W2 the sums over Q1
// and Q2 of the passes each link spent in play. With D(x, y) the number of equal
// pairs in rows 1..x and columns 1..y and A[i] = B[j] = c,
//   #Q1(i, j) = links in columns 1..j - #{x < i : A[x] = c} - D(i - 1, j - 1),
//   #Q2(i, j) = links in rows 1..i - #{y < j : B[y] = c} - D(i - 1, j - 1).
// When K = (p, q) is kept, a link that stays up-left of K loses from Q2 the removed
// links of rows up to its own and from Q1 those of columns up to its own; a link
// down-right of K, from Q1 the removed links of rows from its own on and from Q2
// those of columns from its own on. Each loss is a term of the link's row or of its
// column, so
//   W1(i, j) = t #Q1(i, j) - rowSum1(i) - columnSum1(j),
//   W2(i, j) = t #Q2(i, j) - rowSum2(i) - columnSum2(j),
// four sums that grow by a step each pass; splitting a box changes the steps of its
// rows and columns only.
//
// Search. The smallest count is searched letter by letter in each box, where the
// links of letter c form a full matrix (its rows in the box by its columns in the
// box). Every link L of a part of that matrix lies above-right of the part's
// bottom-left link BL and below-left of its top-right link TR, so Q1(L) holds
// Q1(BL) and Q2(L) holds Q2(TR): W1(BL) + W2(TR) bounds the counts of the part from
// below. Parts are halved, the one of smaller bound looked at first, and a part
// whose bound cannot beat the best link found is left out; the links far from a
// box's two ends have counts far above those near them, so few parts are opened.
// Ties go, as in the literal pass, to the smallest Pos1 and then Pos2.
//
// D(i - 1, j - 1) is kept per link (4 bytes) when the links are at most 40 x 2^20,
// filled in one sweep down the rows; beyond that (texts made of few letters, where
// the links run into hundreds of millions) it is computed from the counts of each
// letter before i and before j, a sum over the letters both texts share.
//
// The counts are 64-bit: they grow with the cube of the length for texts of one
// repeated character, so a 32-bit count overflows from about 2200 equal characters,
// and a wrapped count would make the most conflicting link look the best.
#include "analysis/Text_Distance_Unit.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "diagnostics/TraceUnit.h"

namespace {

// A rectangle of rows r1..r2 and columns s1..s2 (from 1) whose links are all in
// play, with the letters that have links in it.
struct TBox {
    int32_t r1, r2, s1, s2;
    std::vector<int32_t> letters;
};

// The best link found so far in a pass, by (count, Pos1, Pos2).
struct TBest {
    bool found = false;
    int64_t value = 0;
    int32_t p = 0;
    int32_t q = 0;
    void Offer(int64_t v, int32_t i, int32_t j) {
        if (!found || v < value || (v == value && (i < p || (i == p && j < q)))) {
            found = true;
            value = v;
            p = i;
            q = j;
        }
    }
    // No link of count >= bound whose Pos1 is at least `row` can be better.
    bool Beats(int64_t bound, int32_t row) const {
        return found && (bound > value || (bound == value && row > p));
    }
};

// The terms of one row or column of a letter. At pass t its part of W1 is
// t first1 - sum1(t), and of W2 t first2 - sum2(t), each sum growing by its step
// every pass: sum(t) = base + t step.
struct TLine {
    int64_t first1 = 0, first2 = 0;
    int64_t base1 = 0, step1 = 0, base2 = 0, step2 = 0;
    int64_t W1(int64_t t) const { return t * (first1 - step1) - base1; }
    int64_t W2(int64_t t) const { return t * (first2 - step2) - base2; }
};

// From the pass after t on, a sum grows by `more` more each pass.
void Steepen(int64_t& base, int64_t& step, int64_t more, int64_t t) {
    base -= t * more;
    step += more;
}

// Index range [lo, hi) of the positions within low..high.
std::pair<size_t, size_t> Within(const std::vector<int32_t>& positions, int32_t low, int32_t high) {
    const auto lo = std::lower_bound(positions.begin(), positions.end(), low);
    const auto hi = std::upper_bound(lo, positions.end(), high);
    return {static_cast<size_t>(lo - positions.begin()),
            static_cast<size_t>(hi - positions.begin())};
}

class TMatching {
  public:
    TMatching(const std::string& a, const std::string& b, size_t keptLinks);
    std::optional<std::vector<TLink>> Run(TProgress& progress);

  private:
    bool Prepare(TProgress& progress);
    // One letter's links in one box, by indexes into its positions.
    struct TPart {
        size_t r1, r2, k1, k2;
        int64_t bound;
    };
    template <bool Kept>
    int64_t DBefore(size_t letter, size_t r, size_t k) const;
    template <bool Kept>
    void Search(size_t letter, TPart whole, TBest& best);
    void Search(const TBox& box, TBest& best);
    std::vector<int32_t> LettersIn(const std::vector<int32_t>& from, int32_t r1, int32_t r2,
                                   int32_t s1, int32_t s2) const;
    void Remove(const TBox& box, int32_t p, int32_t q);

    const std::string& fA;
    const std::string& fB;
    size_t fM, fN;
    // Dense numbers of the bytes found in both texts (-1 for the others).
    std::array<int32_t, 256> fLetterOf;
    size_t fLetters = 0;
    // Positions (from 1) of each letter in each text, ascending.
    std::vector<std::vector<int32_t>> fRowsOf, fColumnsOf;
    // The terms of each letter's rows and columns, letter after letter (from
    // fRowStart, fColumnStart), and where each position's terms are (-1: none).
    std::vector<TLine> fRowLines, fColumnLines;
    std::vector<size_t> fRowStart, fColumnStart;
    std::vector<int64_t> fRowAt, fColumnAt;
    // Kept D per link: letter c's rows by its columns, from fKeptStart[c].
    bool fKeep = false;
    std::vector<uint32_t> fKept;
    std::vector<size_t> fKeptStart;
    // Otherwise: the counts of each letter in A[1..x] and in B[1..y], a line each.
    std::vector<int32_t> fCountA, fCountB;
    std::vector<TPart> fStack;
    int64_t fPass = 0;
};

TMatching::TMatching(const std::string& a, const std::string& b, size_t keptLinks)
    : fA(a), fB(b), fM(a.size()), fN(b.size()) {
    std::array<int64_t, 256> inA{}, inB{};
    for (const char c : a) ++inA[static_cast<unsigned char>(c)];
    for (const char c : b) ++inB[static_cast<unsigned char>(c)];
    fLetterOf.fill(-1);
    for (size_t c = 0; c < 256; ++c)
        if (inA[c] > 0 && inB[c] > 0) fLetterOf[c] = static_cast<int32_t>(fLetters++);
    const size_t L = fLetters;
    fRowsOf.resize(L);
    fColumnsOf.resize(L);
    for (size_t i = 1; i <= fM; ++i) {
        const int32_t letter = fLetterOf[static_cast<unsigned char>(a[i - 1])];
        if (letter >= 0) fRowsOf[static_cast<size_t>(letter)].push_back(static_cast<int32_t>(i));
    }
    for (size_t j = 1; j <= fN; ++j) {
        const int32_t letter = fLetterOf[static_cast<unsigned char>(b[j - 1])];
        if (letter >= 0) fColumnsOf[static_cast<size_t>(letter)].push_back(static_cast<int32_t>(j));
    }
    fRowStart.assign(L + 1, 0);
    fColumnStart.assign(L + 1, 0);
    fKeptStart.assign(L + 1, 0);
    for (size_t c = 0; c < L; ++c) {
        fRowStart[c + 1] = fRowStart[c] + fRowsOf[c].size();
        fColumnStart[c + 1] = fColumnStart[c] + fColumnsOf[c].size();
        fKeptStart[c + 1] = fKeptStart[c] + fRowsOf[c].size() * fColumnsOf[c].size();
    }
    // The terms: rows first1 = -#{x < i : A[x] = c}, first2 = links in rows 1..i;
    // columns first1 = links in columns 1..j, first2 = -#{y < j : B[y] = c}.
    fRowLines.resize(fRowStart[L]);
    fColumnLines.resize(fColumnStart[L]);
    fRowAt.assign(fM + 1, -1);
    fColumnAt.assign(fN + 1, -1);
    std::array<int64_t, 256> seen{};
    int64_t links = 0;
    for (size_t i = 1; i <= fM; ++i) {
        const auto c = static_cast<unsigned char>(a[i - 1]);
        links += inB[c];
        if (fLetterOf[c] < 0) continue;
        const size_t at =
            fRowStart[static_cast<size_t>(fLetterOf[c])] + static_cast<size_t>(seen[c]);
        fRowLines[at].first1 = -seen[c]++;
        fRowLines[at].first2 = links;
        fRowAt[i] = static_cast<int64_t>(at);
    }
    seen.fill(0);
    links = 0;
    for (size_t j = 1; j <= fN; ++j) {
        const auto c = static_cast<unsigned char>(b[j - 1]);
        links += inA[c];
        if (fLetterOf[c] < 0) continue;
        const size_t at =
            fColumnStart[static_cast<size_t>(fLetterOf[c])] + static_cast<size_t>(seen[c]);
        fColumnLines[at].first1 = links;
        fColumnLines[at].first2 = -seen[c]++;
        fColumnAt[j] = static_cast<int64_t>(at);
    }
    fKeep = fKeptStart[L] <= keptLinks;
}

// The numbers D, kept or ready to be computed; false when `progress` asked to stop.
bool TMatching::Prepare(TProgress& progress) {
    const size_t L = fLetters;
    if (fKeep) {
        // One sweep down the rows with before[y] = D(i - 1, y); row i adds, at each
        // y, the number of its letter in B[1..y].
        fKept.resize(fKeptStart[L]);
        std::vector<uint32_t> upTo(L * (fN + 1), 0);
        for (size_t c = 0; c < L; ++c) {
            uint32_t* line = &upTo[c * (fN + 1)];
            for (const int32_t j : fColumnsOf[c]) ++line[static_cast<size_t>(j)];
            for (size_t y = 1; y <= fN; ++y) line[y] += line[y - 1];
        }
        std::vector<uint32_t> before(fN + 1, 0);
        for (size_t i = 1; i <= fM; ++i) {
            // 64 rows take well under a millisecond.
            if (i % 64 == 0 && progress.Report(0, static_cast<int64_t>(fM))) return false;
            if (fRowAt[i] < 0) continue;
            const auto letter =
                static_cast<size_t>(fLetterOf[static_cast<unsigned char>(fA[i - 1])]);
            const auto& columns = fColumnsOf[letter];
            uint32_t* out = fKept.data() + fKeptStart[letter] +
                            (static_cast<size_t>(fRowAt[i]) - fRowStart[letter]) * columns.size();
            for (size_t k = 0; k < columns.size(); ++k)
                out[k] = before[static_cast<size_t>(columns[k] - 1)];
            const uint32_t* line = &upTo[letter * (fN + 1)];
            for (size_t y = 0; y <= fN; ++y) before[y] += line[y];
        }
    } else {
        fCountA.assign((fM + 1) * L, 0);
        fCountB.assign((fN + 1) * L, 0);
        for (size_t i = 1; i <= fM; ++i) {
            std::copy_n(&fCountA[(i - 1) * L], L, &fCountA[i * L]);
            const int32_t letter = fLetterOf[static_cast<unsigned char>(fA[i - 1])];
            if (letter >= 0) ++fCountA[i * L + static_cast<size_t>(letter)];
        }
        for (size_t j = 1; j <= fN; ++j) {
            std::copy_n(&fCountB[(j - 1) * L], L, &fCountB[j * L]);
            const int32_t letter = fLetterOf[static_cast<unsigned char>(fB[j - 1])];
            if (letter >= 0) ++fCountB[j * L + static_cast<size_t>(letter)];
        }
    }
    return true;
}

// D(i - 1, j - 1) at the link of the letter's r-th row and k-th column.
template <bool Kept>
int64_t TMatching::DBefore(size_t letter, size_t r, size_t k) const {
    if constexpr (Kept) {
        return fKept[fKeptStart[letter] + r * fColumnsOf[letter].size() + k];
    } else {
        const size_t L = fLetters;
        const int32_t* x = &fCountA[static_cast<size_t>(fRowsOf[letter][r] - 1) * L];
        const int32_t* y = &fCountB[static_cast<size_t>(fColumnsOf[letter][k] - 1) * L];
        int64_t d = 0;
        for (size_t c = 0; c < L; ++c) d += int64_t{x[c]} * y[c];
        return d;
    }
}

// The best link of one letter over the part `whole`, offered to `best`.
template <bool Kept>
void TMatching::Search(size_t letter, TPart whole, TBest& best) {
    const TLine* rowLines = fRowLines.data() + fRowStart[letter];
    const TLine* columnLines = fColumnLines.data() + fColumnStart[letter];
    const int32_t* rows = fRowsOf[letter].data();
    const int32_t* columns = fColumnsOf[letter].data();
    const int64_t t = fPass;
    auto w1 = [&](size_t r, size_t k) {
        return rowLines[r].W1(t) + columnLines[k].W1(t) - t * DBefore<Kept>(letter, r, k);
    };
    auto w2 = [&](size_t r, size_t k) {
        return rowLines[r].W2(t) + columnLines[k].W2(t) - t * DBefore<Kept>(letter, r, k);
    };
    // One link is in both of its quadrants.
    auto bound = [&](TPart& part) {
        part.bound = w1(part.r2, part.k1) + w2(part.r1, part.k2) -
                     (part.r1 == part.r2 && part.k1 == part.k2 ? t : 0);
    };
    bound(whole);
    fStack.assign(1, whole);
    while (!fStack.empty()) {
        const TPart part = fStack.back();
        fStack.pop_back();
        if (best.Beats(part.bound, rows[part.r1])) continue;
        if (part.r1 == part.r2 && part.k1 == part.k2) {
            best.Offer(part.bound, rows[part.r1], columns[part.k1]);
            continue;
        }
        TPart first = part, second = part;
        if (part.r2 - part.r1 >= part.k2 - part.k1) {
            first.r2 = part.r1 + (part.r2 - part.r1) / 2;
            second.r1 = first.r2 + 1;
        } else {
            first.k2 = part.k1 + (part.k2 - part.k1) / 2;
            second.k1 = first.k2 + 1;
        }
        bound(first);
        bound(second);
        if (second.bound < first.bound) std::swap(first, second);
        fStack.push_back(second);
        fStack.push_back(first);
    }
}

void TMatching::Search(const TBox& box, TBest& best) {
    for (const int32_t letter : box.letters) {
        const auto c = static_cast<size_t>(letter);
        const auto [rowLo, rowHi] = Within(fRowsOf[c], box.r1, box.r2);
        const auto [colLo, colHi] = Within(fColumnsOf[c], box.s1, box.s2);
        const TPart whole{rowLo, rowHi - 1, colLo, colHi - 1, 0};
        if (fKeep)
            Search<true>(c, whole, best);
        else
            Search<false>(c, whole, best);
    }
}

// The letters of `from` that have links in rows r1..r2 and columns s1..s2.
std::vector<int32_t> TMatching::LettersIn(const std::vector<int32_t>& from, int32_t r1, int32_t r2,
                                          int32_t s1, int32_t s2) const {
    std::vector<int32_t> letters;
    if (r1 > r2 || s1 > s2) return letters;
    for (const int32_t letter : from) {
        const auto rows = Within(fRowsOf[static_cast<size_t>(letter)], r1, r2);
        const auto columns = Within(fColumnsOf[static_cast<size_t>(letter)], s1, s2);
        if (rows.first < rows.second && columns.first < columns.second) letters.push_back(letter);
    }
    return letters;
}

// The losses of the links that stay once (p, q) is kept from `box`. Ra is every
// link of the box in rows r1..p and columns q..s2, Rb every link in rows p..r2 and
// columns s1..q. Rows above p lose #{Ra : Pos1 <= x} from Q2, rows below p
// #{Rb : Pos1 >= x} from Q1; columns left of q lose #{Rb : Pos2 <= y} from Q1,
// columns right of q #{Ra : Pos2 >= y} from Q2. Each count comes from how often a
// byte occurs in a stretch of the other text.
void TMatching::Remove(const TBox& box, int32_t p, int32_t q) {
    // The links of the bytes of counted[from..to] in the lines of the positions
    // first..last (either way) of the other text, added up from `first` on, join
    // the step of quadrant 1 or 2 of each line.
    auto lose = [&](const std::string& counted, int32_t from, int32_t to, bool rows, int32_t first,
                    int32_t last, bool quadrant1) {
        std::array<int64_t, 256> occurs{};
        for (int32_t k = from; k <= to; ++k)
            ++occurs[static_cast<unsigned char>(counted[static_cast<size_t>(k - 1)])];
        const std::string& text = rows ? fA : fB;
        const std::vector<int64_t>& at = rows ? fRowAt : fColumnAt;
        std::vector<TLine>& lines = rows ? fRowLines : fColumnLines;
        const int32_t step = last >= first ? 1 : -1;
        int64_t running = 0;
        for (int32_t x = first; x != last + step; x += step) {
            running += occurs[static_cast<unsigned char>(text[static_cast<size_t>(x - 1)])];
            const int64_t line = at[static_cast<size_t>(x)];
            if (line < 0 || running == 0) continue;
            TLine& l = lines[static_cast<size_t>(line)];
            if (quadrant1)
                Steepen(l.base1, l.step1, running, fPass);
            else
                Steepen(l.base2, l.step2, running, fPass);
        }
    };
    if (box.r1 < p) lose(fB, q, box.s2, true, box.r1, p - 1, false);
    if (p < box.r2) lose(fB, box.s1, q, true, box.r2, p + 1, true);
    if (box.s1 < q) lose(fA, p, box.r2, false, box.s1, q - 1, true);
    if (q < box.s2) lose(fA, box.r1, p, false, box.s2, q + 1, false);
}

std::optional<std::vector<TLink>> TMatching::Run(TProgress& progress) {
    std::vector<TLink> chosen;
    std::vector<TBox> boxes;
    std::vector<int32_t> all(fLetters);
    for (size_t c = 0; c < fLetters; ++c) all[c] = static_cast<int32_t>(c);
    const auto m = static_cast<int32_t>(fM);
    const auto n = static_cast<int32_t>(fN);
    TBox whole{1, m, 1, n, LettersIn(all, 1, m, 1, n)};
    if (!whole.letters.empty() && !Prepare(progress)) return std::nullopt;
    if (!whole.letters.empty()) boxes.push_back(std::move(whole));
    while (!boxes.empty()) {
        // The rows of the first text outside every box are settled.
        int64_t open = 0;
        for (const TBox& box : boxes) open += box.r2 - box.r1 + 1;
        if (progress.Report(m - open, m)) return std::nullopt;
        ++fPass;
        TBest best;
        for (const TBox& box : boxes) Search(box, best);
        const int32_t p = best.p;
        const int32_t q = best.q;
        chosen.push_back({p, q, 0});
        // The box of the kept link splits into what lies up-left and down-right of it.
        auto where = boxes.begin();
        while (where->r2 < p) ++where;
        const TBox box = std::move(*where);
        Remove(box, p, q);
        TBox upLeft{box.r1, p - 1, box.s1, q - 1,
                    LettersIn(box.letters, box.r1, p - 1, box.s1, q - 1)};
        TBox downRight{p + 1, box.r2, q + 1, box.s2,
                       LettersIn(box.letters, p + 1, box.r2, q + 1, box.s2)};
        where = boxes.erase(where);
        if (!downRight.letters.empty()) where = boxes.insert(where, std::move(downRight));
        if (!upLeft.letters.empty()) boxes.insert(where, std::move(upLeft));
    }
    return chosen;
}

}  // namespace

std::optional<std::vector<TLink>> TextDistanceChosenLinks(const std::string& first,
                                                          const std::string& second,
                                                          TProgress& progress, size_t keptLinks) {
    return TMatching(first, second, keptLinks).Run(progress);
}

std::optional<std::vector<TLink>> TextDistanceChosenLinks(const std::string& first,
                                                          const std::string& second,
                                                          TProgress& progress) {
    // 4 bytes a link: 160 MB at most.
    return TextDistanceChosenLinks(first, second, progress, size_t{40} << 20);
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
