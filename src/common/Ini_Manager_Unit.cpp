#include "common/Ini_Manager_Unit.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "base/Ascii.h"
#include "base/File_Io.h"
#include "base/Integer_Text.h"
#include "diagnostics/TraceUnit.h"

namespace {

const std::vector<TIniSection> kNoSections;

}  // namespace

TIniSection::TIniSection(std::string name)
    : fName(std::move(name)), fMatchName(TIniManager::MatchName(fName)) {}

std::string TIniManager::MatchName(const std::string& name) {
    return AsciiLowerCase(TStringManager::TrimmedPart(name));
}

TIniManager::TIniManager(const std::string& fileName) {
    LoadFromFile(fileName);
}

TIniManager::TIniManager(const TLines& lines) {
    LoadFromStrings(lines);
}

void TIniManager::LoadFromFile(const std::string& fileName) {
    if (!FileExists(fileName)) {
        Messenger.Error("Ini_Manager_Unit:LoadFromFile:Bad filename : " + fileName);
        return;
    }
    TLineList lines;
    lines.LoadFromFile(fileName);
    if (lines.Count() == 0) {
        Messenger.Error("Ini_Manager_Unit:LoadFromFile:Fichier ini vide");
        return;
    }
    ReadLines(lines.Lines());
}

void TIniManager::LoadFromStrings(const TLines& lines) {
    if (lines.Count() == 0) {
        Messenger.Error("Ini_Manager_Unit:LoadFromStrings:Strings vide");
        return;
    }
    // A plain line list is read where it stands; other holders (the memos)
    // give a copy of their lines.
    if (const auto* list = dynamic_cast<const TLineList*>(&lines))
        ReadLines(list->Lines());
    else
        ReadLines(lines.ToVector());
}

namespace {

// A text to sort, by its place among those given: its first 16 bytes read as
// two big-endian numbers and its size, so that most comparisons stay within the
// array being sorted; the whole text is read only where those agree and the
// text is longer.
struct TSortKey {
    uint64_t High;
    uint64_t Low;
    uint32_t Size;
    uint32_t Place;
};

uint64_t BigEndian(const unsigned char* bytes) {
    uint64_t value = 0;
    std::memcpy(&value, bytes, sizeof value);
    if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
    return value;
}

// The texts textAt(0) .. textAt(count - 1) sorted by byte value, equal ones in
// their given order, and which of them equal the one before. The texts must
// stay in place while the keys are used.
template <class TTextAt>
class TSortedTexts {
  public:
    TSortedTexts(size_t count, const TTextAt& textAt) : fTextAt(textAt), fKeys(count) {
        for (size_t t = 0; t < count; ++t) {
            const std::string& text = textAt(t);
            unsigned char prefix[16] = {};
            std::memcpy(prefix, text.data(), std::min<size_t>(text.size(), 16));
            fKeys[t] = {BigEndian(prefix), BigEndian(prefix + 8),
                        static_cast<uint32_t>(text.size()), static_cast<uint32_t>(t)};
        }
        if (RadixSorted()) return;
        std::sort(fKeys.begin(), fKeys.end(), [this](const TSortKey& a, const TSortKey& b) {
            if (a.High != b.High) return a.High < b.High;
            if (a.Low != b.Low) return a.Low < b.Low;
            if (a.Size > 16 && b.Size > 16) {
                const int order = fTextAt(a.Place).compare(fTextAt(b.Place));
                if (order != 0) return order < 0;
            } else if (a.Size != b.Size) {
                return a.Size < b.Size;
            }
            return a.Place < b.Place;
        });
    }

    size_t Size() const { return fKeys.size(); }
    // The place of the text at rank i of the sorted order.
    uint32_t Place(size_t i) const { return fKeys[i].Place; }
    // Whether the text at rank i (> 0) equals the one at rank i - 1.
    bool SameAsPrevious(size_t i) const {
        const TSortKey& a = fKeys[i - 1];
        const TSortKey& b = fKeys[i];
        if (a.High != b.High || a.Low != b.Low || a.Size != b.Size) return false;
        return a.Size <= 16 || fTextAt(a.Place) == fTextAt(b.Place);
    }

  private:
    // The texts of one file mostly differ in a few of their first bytes (the
    // number of "Clause 123"): where at most kMostPasses bytes of the keys
    // differ, a stable radix sort over those bytes alone orders the keys as the
    // comparison above does, in half its time. The keys are in place order
    // before, so equal ones stay so. Texts longer than 16 bytes with the same
    // prefix follow the shorter ones ordered by size; they are then put in the
    // order of their whole text.
    bool RadixSorted() {
        constexpr size_t kMostPasses = 8;
        if (fKeys.size() < 4096) return false;
        // The bytes that differ from the first key's somewhere, least
        // significant first: the size's, then the prefix's from its end.
        uint64_t high = 0, low = 0, size = 0;
        for (const TSortKey& key : fKeys) {
            high |= key.High ^ fKeys[0].High;
            low |= key.Low ^ fKeys[0].Low;
            size |= key.Size ^ fKeys[0].Size;
        }
        std::vector<std::pair<int, int>> digits;  // (0 size, 1 low, 2 high; shift)
        for (const auto& [field, bits] : {std::pair{0, size}, {1, low}, {2, high}})
            for (int shift = 0; shift < 64; shift += 8)
                if ((bits >> shift) & 0xFF) digits.emplace_back(field, shift);
        if (digits.size() > kMostPasses) return false;
        std::vector<TSortKey> other(fKeys.size());
        for (const auto& [field, shift] : digits) {
            const auto digit = [field = field, shift = shift](const TSortKey& key) {
                const uint64_t value = field == 0 ? key.Size : field == 1 ? key.Low : key.High;
                return static_cast<size_t>((value >> shift) & 0xFF);
            };
            size_t starts[256] = {};
            for (const TSortKey& key : fKeys) ++starts[digit(key)];
            size_t sum = 0;
            for (size_t& start : starts) sum += std::exchange(start, sum);
            for (const TSortKey& key : fKeys) other[starts[digit(key)]++] = key;
            fKeys.swap(other);
        }
        for (size_t i = 0; i < fKeys.size();) {
            size_t end = i + 1;
            while (end < fKeys.size() && fKeys[end].High == fKeys[i].High &&
                   fKeys[end].Low == fKeys[i].Low)
                ++end;
            const auto longer = std::find_if(fKeys.begin() + i, fKeys.begin() + end,
                                             [](const TSortKey& key) { return key.Size > 16; });
            if (end - (longer - fKeys.begin()) > 1)
                std::stable_sort(longer, fKeys.begin() + end,
                                 [this](const TSortKey& a, const TSortKey& b) {
                                     return fTextAt(a.Place) < fTextAt(b.Place);
                                 });
            i = end;
        }
        return true;
    }

    const TTextAt& fTextAt;
    std::vector<TSortKey> fKeys;
};

using TPairs = std::vector<std::pair<std::string, std::string>>;

// The pairs of a section, given in line order, as adding them one by one to its
// pair list would leave them: sorted by key, the last value of a repeated key
// kept, and each repetition reported in line order.
TPairs SettledPairs(TPairs& pairs) {
    const auto keyAt = [&](size_t i) -> const std::string& { return pairs[i].first; };
    const TSortedTexts keys(pairs.size(), keyAt);
    // Read before any key moves.
    std::vector<bool> repeated(keys.Size(), false);
    for (size_t i = 1; i < keys.Size(); ++i) repeated[i] = keys.SameAsPrevious(i);
    TPairs settled;
    settled.reserve(keys.Size());
    std::vector<uint32_t> repeats;  // the places of the repeated keys, in line order
    for (size_t i = 0; i < keys.Size(); ++i) {
        auto& pair = pairs[keys.Place(i)];
        if (repeated[i]) {
            repeats.push_back(keys.Place(i));
            settled.back().second = std::move(pair.second);
        } else {
            settled.push_back(std::move(pair));
        }
    }
    std::sort(repeats.begin(), repeats.end());
    for (const uint32_t place : repeats)
        TListOfPairOfStrings::ReportRepeatedKey(pairs[place].first);
    pairs = {};
    return settled;
}

// Counts per rank of name, with prefix sums, in O(log n) each.
class TRankCounts {
  public:
    // `size` counts of 0, or of 1 when `full`.
    TRankCounts(size_t size, bool full) { Reset(size, full); }
    // As newly made, keeping the memory already held.
    void Reset(size_t size, bool full) {
        fTree.assign(size + 1, 0);
        if (full)
            for (size_t i = 1; i < fTree.size(); ++i) fTree[i] = static_cast<int32_t>(i & (~i + 1));
    }
    void Add(size_t rank, int32_t delta) {
        for (size_t i = rank + 1; i < fTree.size(); i += i & (~i + 1)) fTree[i] += delta;
    }
    // The count of ranks 0 .. rank - 1.
    int32_t Below(size_t rank) const {
        int32_t sum = 0;
        for (size_t i = rank; i > 0; i -= i & (~i + 1)) sum += fTree[i];
        return sum;
    }
    // The rank at which the counts from 0 reach k + 1 (each count 0 or 1 here).
    size_t Find(int32_t k) const {
        size_t pos = 0;
        size_t step = 1;
        while (step * 2 < fTree.size()) step *= 2;
        for (; step > 0; step /= 2)
            if (pos + step < fTree.size() && fTree[pos + step] <= k) {
                pos += step;
                k -= fTree[pos];
            }
        return pos;
    }

  private:
    std::vector<int32_t> fTree;
};

// Counts per rank with the count below a rank, where the ranks come in any
// order: a tree of the counts per block of 32 ranks, small enough to stay in
// the cache, and the counts of the ranks themselves, summed within their block
// (where the rank just added is at hand).
class TBlockedCounts {
  public:
    explicit TBlockedCounts(size_t size) : fCounts(size, 0), fBlocks(size / kBlock + 1, false) {}
    void Add(size_t rank) {
        ++fCounts[rank];
        fBlocks.Add(rank / kBlock, 1);
    }
    // The count of ranks 0 .. rank - 1.
    int32_t Below(size_t rank) const {
        int32_t sum = fBlocks.Below(rank / kBlock);
        for (size_t i = rank - rank % kBlock; i < rank; ++i) sum += fCounts[i];
        return sum;
    }

  private:
    static constexpr size_t kBlock = 32;
    std::vector<int32_t> fCounts;
    TRankCounts fBlocks;
};

// The cycles of the permutation `order` (the place each place takes its
// element from), each as its places from one of them on, one cycle after the
// other in `cycles`, where `ends` says where each ends; places that keep their
// element are in none. Reading a cycle is a chase from place to place through
// the array, each read waiting on the one before: eight chases run side by side
// so that their reads overlap. A place that a chase has taken is marked by its
// own index in `order`. A chase stops at a place already taken, which can only
// be where another chase (or itself) began, since each place has one place
// before it: a cycle comes as runs of places, each run followed by the one
// that begins where it stopped.
void ReadCycles(std::vector<uint32_t>& order, std::vector<uint32_t>& cycles,
                std::vector<size_t>& ends) {
    constexpr size_t kChases = 8;
    struct TChase {
        std::vector<uint32_t> Run;
        uint32_t At = 0;  // the place the run goes on to
        bool On = false;
    };
    std::vector<uint32_t> runs;     // the runs' places, one run after the other
    std::vector<size_t> runStarts;  // where each run begins in `runs`
    std::vector<uint32_t> nexts;    // where the run after each one begins
    size_t start = 0;               // no place before it is left to take
    const auto take = [&](TChase& chase, uint32_t place) {
        chase.Run.push_back(place);
        chase.At = std::exchange(order[place], place);
    };
    const auto begin = [&](TChase& chase) {
        while (start < order.size() && order[start] == start) ++start;
        chase.On = start < order.size();
        chase.Run.clear();
        if (chase.On) take(chase, static_cast<uint32_t>(start));
    };
    TChase chases[kChases];
    for (TChase& chase : chases) begin(chase);
    for (bool any = true; any;) {
        any = false;
        for (TChase& chase : chases) {
            if (!chase.On) continue;
            any = true;
            if (order[chase.At] != chase.At) {
                take(chase, chase.At);
                continue;
            }
            runStarts.push_back(runs.size());
            runs.insert(runs.end(), chase.Run.begin(), chase.Run.end());
            nexts.push_back(chase.At);
            begin(chase);
        }
    }
    runStarts.push_back(runs.size());
    // The runs are joined into their cycles; `order` is free to tell the run
    // that begins at each place that begins one.
    const size_t runCount = nexts.size();
    for (size_t r = 0; r < runCount; ++r) order[runs[runStarts[r]]] = static_cast<uint32_t>(r);
    std::vector<bool> joined(runCount, false);
    cycles.clear();
    cycles.reserve(runs.size());
    for (size_t first = 0; first < runCount; ++first) {
        if (joined[first]) continue;
        for (size_t r = first; !joined[r]; r = order[nexts[r]]) {
            joined[r] = true;
            cycles.insert(cycles.end(), runs.begin() + static_cast<std::ptrdiff_t>(runStarts[r]),
                          runs.begin() + static_cast<std::ptrdiff_t>(runStarts[r + 1]));
        }
        ends.push_back(cycles.size());
    }
}

}  // namespace

void TIniManager::ReadLines(const std::vector<std::string>& lines) {
    fSections.emplace();
    std::vector<TIniSection> kept;  // in the order they are added
    // Room for every line that may be a header, so that the sections are not
    // moved as the list grows.
    kept.reserve(
        static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            const size_t first = line.find_first_not_of(" \t");
            return first != std::string::npos && line[first] == '[';
        })));
    // The section being read: its name and its pairs in line order.
    bool reading = false;
    std::string name;
    TPairs pairs;
    const auto keepCurrent = [&] {
        if (!reading) return;
        TPairs settled = pairs.empty() ? TPairs() : SettledPairs(pairs);
        if (!name.empty()) {
            kept.emplace_back(std::move(name));
            if (!settled.empty()) kept.back().Pairs().AssignSorted(std::move(settled));
        }
        reading = false;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        // A UTF-8 byte-order mark before the first line is no part of it.
        const bool bom = i == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
        TStringManager::TIniLine line = TStringManager::ParseIniLine(bom ? text.substr(3) : text);
        switch (line.Kind) {
            case TStringManager::TIniLineKind::Section:
                keepCurrent();
                reading = true;
                name = std::move(line.Name);
                break;
            case TStringManager::TIniLineKind::KeyValue:
                if (reading && !line.Name.empty() && !line.Value.empty())
                    pairs.emplace_back(std::move(line.Name), std::move(line.Value));
                break;
            case TStringManager::TIniLineKind::Comment:
            case TStringManager::TIniLineKind::Error:
                break;
        }
    }
    keepCurrent();
    PlaceSections(std::move(kept));
}

// Puts the sections where inserting them one by one, each at the position that
// FindSectionPos gives over the list as it then stands, would leave them. That
// search is run for each section on a stand-in of the list (the counts of names
// below, equal to and above its own are all it reads); the sections of one name
// then take their places within their group from the last insertion back:
// O(n log n) instead of moving the list at every insertion.
void TIniManager::PlaceSections(std::vector<TIniSection> sections) {
    const size_t count = sections.size();
    // The rank of each section's name among the distinct names, which orders
    // the sections as their names do.
    const auto nameAt = [&](size_t t) -> const std::string& { return sections[t].MatchName(); };
    const TSortedTexts keys(count, nameAt);
    // The keys hold the sections of one name together, in reading order: the
    // groups, each section's rank (which orders the sections as their names
    // do) and the count of its name read before it come in one pass.
    // Each section's key is noted too, so that what is found for a section in
    // reading order is written where the keys' order will read it: stores to
    // places all over an array cost far less than loads from them.
    std::vector<size_t> starts;  // where each group begins among the keys
    std::vector<int32_t> ranks(count);
    std::vector<int32_t> earlier(count);
    std::vector<uint32_t> keyOf(count);
    for (size_t i = 0; i < count; ++i) {
        if (i == 0 || !keys.SameAsPrevious(i)) starts.push_back(i);
        ranks[keys.Place(i)] = static_cast<int32_t>(starts.size() - 1);
        earlier[keys.Place(i)] = static_cast<int32_t>(i - starts.back());
        keyOf[keys.Place(i)] = static_cast<uint32_t>(i);
    }
    const size_t rankCount = starts.size();
    starts.push_back(count);

    // Where each section goes among those of its name, counted when it is
    // inserted; noted at its key.
    TBlockedCounts inserted(rankCount);
    std::vector<int32_t> offsets(count);
    for (size_t t = 0; t < count; ++t) {
        const int32_t r = ranks[t];
        inserted.Add(static_cast<size_t>(r));
        const int32_t equal = earlier[t];
        // The first of its name starts its group, at offset 0: no search.
        if (equal == 0) continue;
        const int32_t below = inserted.Below(static_cast<size_t>(r));
        const auto rankAt = [&](int32_t i) {
            return i < below ? r - 1 : i < below + equal ? r : r + 1;
        };
        offsets[keyOf[t]] = BisectSortedPos(r, 0, static_cast<int32_t>(t) - 1, rankAt) - below;
    }

    // The groups of one name follow each other in rank order; within a group,
    // the places are resolved from the last insertion back, each section taking
    // the free place of its offset.
    std::vector<uint32_t> order(count);  // the section at each place of the list
    TRankCounts freePlaces(0, true);     // one buffer for every group
    for (size_t r = 0; r < rankCount; ++r) {
        const size_t first = starts[r];
        const size_t size = starts[r + 1] - first;
        if (size == 1) {
            order[first] = keys.Place(first);
            continue;
        }
        freePlaces.Reset(size, true);
        for (size_t j = size; j-- > 0;) {
            const size_t place = freePlaces.Find(offsets[first + j]);
            freePlaces.Add(place, -1);
            order[first + place] = keys.Place(first + j);
        }
    }
    // The sections are put in that order where they stand, one cycle of the
    // permutation after the other: no second list. The cycles are first read
    // from `order` alone, then the moves follow them, fetching the sections a
    // few moves ahead.
    std::vector<uint32_t> cycles;  // the places of each cycle, one after the other
    std::vector<size_t> ends;      // where each cycle ends in `cycles`
    ReadCycles(order, cycles, ends);
    auto& list = *fSections;
    list = std::move(sections);
    constexpr size_t kAhead = 8;
    size_t first = 0;
    for (const size_t end : ends) {
        TIniSection held = std::move(list[cycles[first]]);
        for (size_t i = first; i + 1 < end; ++i) {
            if (i + kAhead < cycles.size()) {
                const char* ahead = reinterpret_cast<const char*>(list.data() + cycles[i + kAhead]);
                __builtin_prefetch(ahead);
                __builtin_prefetch(ahead + sizeof(TIniSection) - 1);
            }
            list[cycles[i]] = std::move(list[cycles[i + 1]]);
        }
        list[cycles[end - 1]] = std::move(held);
        first = end;
    }
}

int32_t TIniManager::FindSectionPos(const std::string& matchName, int32_t low, int32_t high) const {
    return BisectSortedPos(matchName, low, high, [this](int32_t i) -> const std::string& {
        return (*fSections)[static_cast<size_t>(i)].MatchName();
    });
}

const TIniSection* TIniManager::FindSection(const std::string& section) const {
    const std::string name = MatchName(section);
    const int32_t count = static_cast<int32_t>(fSections->size());
    const int32_t p = FindSectionPos(name, 0, count - 1);
    if (p < count && (*fSections)[static_cast<size_t>(p)].MatchName() == name)
        return &(*fSections)[static_cast<size_t>(p)];
    return nullptr;
}

std::string TIniManager::Get(const std::string& section, const std::string& key) const {
    if (!fSections) {
        Messenger.Error("Ini_Manager_Unit:TIniManager.Get:Pas de sections");
        return std::string();
    }
    std::string result;
    if (const TIniSection* found = FindSection(section)) result = found->Pairs().getData(key);
    if (result.empty())
        Messenger.Error("TIniManager.Get : [" + section + "]/" + key + " n'existe pas");
    return result;
}

int32_t TIniManager::GetInt(const std::string& section, const std::string& key) const {
    const std::string text = Get(section, key);
    if (const std::optional<int32_t> value = ParseInt32(text, TIntegerForm::Pattern)) return *value;
    Messenger.Error("Ini_Manager_Unit:TIniManager:GetInt:Can't Find " + section + " " + key);
    return 0;
}

int32_t TIniManager::GetIntStrict(const std::string& section, const std::string& key) const {
    if (KeyExists(section, key)) return GetInt(section, key);
    Messenger.Error("TIniManager.GetIntStrict : [section][key] inexistant : " + section + " - " +
                    key);
    return -1;
}

bool TIniManager::KeyExists(const std::string& section, const std::string& key) const {
    if (!fSections) return false;
    // The list is sorted by match name: the first section of the name is the
    // first one not below it.
    const std::string name = MatchName(section);
    const auto first = std::lower_bound(
        fSections->begin(), fSections->end(), name,
        [](const TIniSection& s, const std::string& n) { return s.MatchName() < n; });
    return first != fSections->end() && first->MatchName() == name && first->Pairs().HasKey(key);
}

const TIniSection* TIniManager::SectionForKeys(const std::string& section) const {
    if (!fSections) return nullptr;
    const TIniSection* found = FindSection(section);
    if (!found || found == fSections->data()) return found;
    return (found - 1)->MatchName() == found->MatchName() ? nullptr : found;
}

int32_t TIniManager::SectionCount() const {
    return fSections ? static_cast<int32_t>(fSections->size()) : 0;
}

const std::vector<TIniSection>& TIniManager::Sections() const {
    return fSections ? *fSections : kNoSections;
}
