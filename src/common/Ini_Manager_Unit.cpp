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

// The places 0 .. count - 1 of the texts textAt(place), ordered by the texts'
// bytes, equal texts in place order; and which of them hold the same text as
// the one before. Each place is sorted under its text's first 16 bytes read as
// two big-endian numbers, and its size: the sort reads the texts themselves
// only where those agree and both are longer, so that most comparisons stay
// within the array being sorted. The texts must stay in place meanwhile.
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
        std::sort(fKeys.begin(), fKeys.end(), [this](const TKey& a, const TKey& b) {
            if (a.High != b.High) return a.High < b.High;
            if (a.Low != b.Low) return a.Low < b.Low;
            // The same first bytes: a text of 16 or fewer is all in them (then
            // the shorter one comes first), otherwise the whole texts decide.
            if (a.Size <= 16 || b.Size <= 16) {
                if (a.Size != b.Size) return a.Size < b.Size;
            } else if (const int order = fTextAt(a.Place).compare(fTextAt(b.Place)); order != 0) {
                return order < 0;
            }
            return a.Place < b.Place;
        });
    }

    size_t Size() const { return fKeys.size(); }
    // The place at rank i of the order.
    uint32_t Place(size_t i) const { return fKeys[i].Place; }
    // Whether the text at rank i (> 0) equals the one at rank i - 1.
    bool SameAsPrevious(size_t i) const {
        const TKey& a = fKeys[i - 1];
        const TKey& b = fKeys[i];
        if (a.High != b.High || a.Low != b.Low || a.Size != b.Size) return false;
        return a.Size <= 16 || fTextAt(a.Place) == fTextAt(b.Place);
    }

  private:
    struct TKey {
        uint64_t High;
        uint64_t Low;
        uint32_t Size;
        uint32_t Place;
    };
    static uint64_t BigEndian(const unsigned char* bytes) {
        uint64_t value = 0;
        std::memcpy(&value, bytes, sizeof value);
        if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
        return value;
    }

    const TTextAt& fTextAt;
    std::vector<TKey> fKeys;
};

using TPairs = std::vector<std::pair<std::string, std::string>>;

// The pairs of a section, given in line order, as adding them one by one to its
// pair list would leave them: sorted by key, the last value of a repeated key
// kept, and each repetition reported in line order.
TPairs SettledPairs(TPairs& pairs) {
    TPairs settled;
    const auto keyAt = [&](size_t p) -> const std::string& { return pairs[p].first; };
    const TSortedTexts byKey(pairs.size(), keyAt);
    std::vector<bool> repeated(pairs.size(), false);
    for (size_t i = 0; i < byKey.Size(); ++i) {
        const uint32_t p = byKey.Place(i);
        if (!settled.empty() && settled.back().first == pairs[p].first) {
            repeated[p] = true;
            settled.back().second = std::move(pairs[p].second);
        } else {
            settled.push_back(std::move(pairs[p]));
        }
    }
    for (size_t p = 0; p < pairs.size(); ++p)
        if (repeated[p]) TListOfPairOfStrings::ReportRepeatedKey(pairs[p].first);
    pairs.clear();
    return settled;
}

// Counts per rank, 0 or 1 each here, with the count below a rank and the rank
// of the k-th one, each in O(log n) (a Fenwick tree).
class TRankCounts {
  public:
    // `size` counts, all 0 or all 1.
    TRankCounts(size_t size, int32_t each) { Reset(size, each); }
    // As newly made, keeping the memory already held.
    void Reset(size_t size, int32_t each) {
        fTree.assign(size + 1, 0);
        for (size_t i = 1; i < fTree.size(); ++i) fTree[i] = each * static_cast<int32_t>(i & -i);
    }
    void Add(size_t rank, int32_t delta) {
        for (size_t i = rank + 1; i < fTree.size(); i += i & -i) fTree[i] += delta;
    }
    // The count of ranks 0 .. rank - 1.
    int32_t Below(size_t rank) const {
        int32_t sum = 0;
        for (size_t i = rank; i > 0; i -= i & -i) sum += fTree[i];
        return sum;
    }
    // The rank at which the counts from 0 reach k + 1.
    size_t Find(int32_t k) const {
        size_t pos = 0;
        for (size_t step = std::bit_floor(fTree.size()); step > 0; step /= 2)
            if (pos + step < fTree.size() && fTree[pos + step] <= k) {
                pos += step;
                k -= fTree[pos];
            }
        return pos;
    }

  private:
    std::vector<int32_t> fTree;
};

}  // namespace

void TIniManager::ReadLines(const std::vector<std::string>& lines) {
    fSections.emplace();
    std::vector<TIniSection> kept;  // in the order they are read
    // Room for every line that may be a header, so that the sections are not
    // moved as the list grows.
    kept.reserve(
        static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            const size_t first = line.find_first_not_of(" \t");
            return first != std::string::npos && line[first] == '[';
        })));
    // The section being read: its name and its pairs in line order.
    std::optional<std::string> name;
    TPairs pairs;
    const auto keepCurrent = [&] {
        TPairs settled = SettledPairs(pairs);
        if (name && !name->empty()) {
            kept.emplace_back(std::move(*name));
            kept.back().Pairs().AssignSorted(std::move(settled));
        }
        name.reset();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        // A UTF-8 byte-order mark before the first line is no part of it.
        const bool bom = i == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
        TStringManager::TIniLine line = TStringManager::ParseIniLine(bom ? text.substr(3) : text);
        switch (line.Kind) {
            case TStringManager::TIniLineKind::Section:
                keepCurrent();
                name = std::move(line.Name);
                break;
            case TStringManager::TIniLineKind::KeyValue:
                if (name && !line.Name.empty() && !line.Value.empty())
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
// FindSectionPos gives over the list as it then stands, would leave them, in
// O(n log n) instead of moving the list at every insertion.
//
// The list stays sorted by name, so only the order among sections of one name
// is in question. When a section is inserted, the search reads nothing but how
// many sections of the list have a name below, equal to or above its own: it is
// run on a stand-in made of those counts, which gives the section's offset
// among those of its name already in. Each group of one name is then resolved
// from its last insertion back: the last one inserted keeps its offset, each
// earlier one takes the free place of its own offset among those left.
void TIniManager::PlaceSections(std::vector<TIniSection> sections) {
    const size_t count = sections.size();
    const auto nameAt = [&](size_t t) -> const std::string& { return sections[t].MatchName(); };
    const TSortedTexts byName(count, nameAt);
    // The groups of one name, in name order (each in reading order), and for
    // each section its group's rank, how many of its name were read before it
    // and its offset among those of its name when it is inserted.
    struct TRead {
        int32_t Rank;
        int32_t Earlier;
        int32_t Offset;
    };
    std::vector<size_t> starts;  // where each group begins in byName
    std::vector<TRead> read(count);
    for (size_t i = 0; i < count; ++i) {
        if (i == 0 || !byName.SameAsPrevious(i)) starts.push_back(i);
        read[byName.Place(i)] = {static_cast<int32_t>(starts.size() - 1),
                                 static_cast<int32_t>(i - starts.back()), 0};
    }
    starts.push_back(count);

    TRankCounts inserted(starts.size() - 1, 0);  // sections inserted, per rank
    for (size_t t = 0; t < count; ++t) {
        const int32_t r = read[t].Rank;
        const int32_t equal = read[t].Earlier;
        // The first of its name starts its group at offset 0: no search.
        if (equal > 0) {
            const int32_t below = inserted.Below(static_cast<size_t>(r));
            const auto rankAt = [&](int32_t i) {
                return i < below ? r - 1 : i < below + equal ? r : r + 1;
            };
            read[t].Offset = BisectSortedPos(r, 0, static_cast<int32_t>(t) - 1, rankAt) - below;
        }
        inserted.Add(static_cast<size_t>(r), 1);
    }

    std::vector<uint32_t> order(count);  // the section at each place of the list
    TRankCounts free(0, 1);              // the places of a group left free
    for (size_t g = 0; g + 1 < starts.size(); ++g) {
        const size_t first = starts[g];
        const size_t size = starts[g + 1] - first;
        if (size == 1) {
            order[first] = byName.Place(first);
            continue;
        }
        free.Reset(size, 1);
        for (size_t j = size; j-- > 0;) {
            const uint32_t t = byName.Place(first + j);
            const size_t place = free.Find(read[t].Offset);
            free.Add(place, -1);
            order[first + place] = t;
        }
    }
    // The sections are read all over the list: each is fetched a few moves
    // ahead, so that its reading overlaps the moves before it.
    constexpr size_t kAhead = 8;
    auto& list = *fSections;
    list.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        if (i + kAhead < count) __builtin_prefetch(&sections[order[i + kAhead]]);
        list.push_back(std::move(sections[order[i]]));
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
