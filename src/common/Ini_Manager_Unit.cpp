#include "common/Ini_Manager_Unit.h"

#include <algorithm>
#include <string_view>

#include "base/File_Io.h"
#include "base/Integer_Text.h"
#include "diagnostics/TraceUnit.h"

namespace {

const std::vector<TIniSection> kNoSections;

}  // namespace

TIniSection::TIniSection(std::string name)
    : fName(std::move(name)), fMatchName(TIniManager::MatchName(fName)) {}

std::string TIniManager::MatchName(const std::string& name) {
    return TStringManager::LowerCase(TStringManager::Trim(name));
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

// A text to sort, with its place among those given: its first 16 bytes read as
// two big-endian numbers, so that most comparisons stay within the array being
// sorted, and the whole text for where those agree.
struct TSortKey {
    uint64_t High;
    uint64_t Low;
    std::string_view Text;
    uint32_t Place;
};

bool SameText(const TSortKey& a, const TSortKey& b) {
    if (a.High != b.High || a.Low != b.Low || a.Text.size() != b.Text.size()) return false;
    return a.Text.size() <= 16 || a.Text == b.Text;
}

// The texts textAt(0) .. textAt(count - 1) sorted by byte value, equal ones in
// their given order. The keys refer to the texts, which must stay in place.
template <class TTextAt>
std::vector<TSortKey> SortedTexts(size_t count, const TTextAt& textAt) {
    std::vector<TSortKey> keys(count);
    for (size_t t = 0; t < count; ++t) {
        const std::string& text = textAt(t);
        uint64_t prefix[2] = {0, 0};
        for (size_t i = 0; i < 16 && i < text.size(); ++i)
            prefix[i / 8] |= uint64_t{static_cast<unsigned char>(text[i])} << (56 - 8 * (i % 8));
        keys[t] = {prefix[0], prefix[1], text, static_cast<uint32_t>(t)};
    }
    std::sort(keys.begin(), keys.end(), [](const TSortKey& a, const TSortKey& b) {
        if (a.High != b.High) return a.High < b.High;
        if (a.Low != b.Low) return a.Low < b.Low;
        if (a.Text.size() > 16 || b.Text.size() > 16) {
            const int order = a.Text.compare(b.Text);
            if (order != 0) return order < 0;
        } else if (a.Text.size() != b.Text.size()) {
            return a.Text.size() < b.Text.size();
        }
        return a.Place < b.Place;
    });
    return keys;
}

using TPairs = std::vector<std::pair<std::string, std::string>>;

// The pairs of a section, given in line order, as adding them one by one to its
// pair list would leave them: sorted by key, the last value of a repeated key
// kept, and each repetition reported in line order.
TPairs SettledPairs(TPairs& pairs) {
    const std::vector<TSortKey> keys =
        SortedTexts(pairs.size(), [&](size_t i) -> const std::string& { return pairs[i].first; });
    std::vector<bool> repeated(keys.size(), false);
    for (size_t i = 1; i < keys.size(); ++i) repeated[i] = SameText(keys[i - 1], keys[i]);
    TPairs settled;
    settled.reserve(keys.size());
    std::vector<uint32_t> repeats;  // the places of the repeated keys, in line order
    for (size_t i = 0; i < keys.size(); ++i) {
        auto& pair = pairs[keys[i].Place];
        if (repeated[i]) {
            repeats.push_back(keys[i].Place);
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
        TPairs settled = SettledPairs(pairs);
        if (!name.empty()) {
            kept.emplace_back(std::move(name));
            kept.back().Pairs().AssignSorted(std::move(settled));
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
    const std::vector<TSortKey> keys =
        SortedTexts(count, [&](size_t t) -> const std::string& { return sections[t].MatchName(); });
    // The keys hold the sections of one name together, in reading order: the
    // groups, each section's rank (which orders the sections as their names
    // do) and the count of its name read before it come in one pass.
    std::vector<size_t> starts;  // where each group begins among the keys
    std::vector<int32_t> ranks(count);
    std::vector<int32_t> earlier(count);
    for (size_t i = 0; i < count; ++i) {
        if (i == 0 || !SameText(keys[i - 1], keys[i])) starts.push_back(i);
        ranks[keys[i].Place] = static_cast<int32_t>(starts.size() - 1);
        earlier[keys[i].Place] = static_cast<int32_t>(i - starts.back());
    }
    const size_t rankCount = starts.size();
    starts.push_back(count);

    // Where each section goes among those of its name, counted when it is
    // inserted.
    TRankCounts inserted(rankCount, false);
    std::vector<int32_t> offsets(count);
    for (size_t t = 0; t < count; ++t) {
        const int32_t r = ranks[t];
        inserted.Add(static_cast<size_t>(r), 1);
        const int32_t equal = earlier[t];
        // The first of its name starts its group, at offset 0: no search.
        if (equal == 0) continue;
        const int32_t below = inserted.Below(static_cast<size_t>(r));
        const auto rankAt = [&](int32_t i) {
            return i < below ? r - 1 : i < below + equal ? r : r + 1;
        };
        offsets[t] = BisectSortedPos(r, 0, static_cast<int32_t>(t) - 1, rankAt) - below;
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
            order[first] = keys[first].Place;
            continue;
        }
        freePlaces.Reset(size, true);
        for (size_t j = size; j-- > 0;) {
            const uint32_t t = keys[first + j].Place;
            const size_t place = freePlaces.Find(offsets[t]);
            freePlaces.Add(place, -1);
            order[first + place] = t;
        }
    }
    auto& list = *fSections;
    list.reserve(count);
    // The order jumps about the sections: each is fetched a few moves ahead.
    constexpr size_t kAhead = 8;
    for (size_t p = 0; p < count; ++p) {
        if (p + kAhead < count) __builtin_prefetch(&sections[order[p + kAhead]]);
        list.push_back(std::move(sections[order[p]]));
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

int32_t TIniManager::SectionCount() const {
    return fSections ? static_cast<int32_t>(fSections->size()) : 0;
}

const std::vector<TIniSection>& TIniManager::Sections() const {
    return fSections ? *fSections : kNoSections;
}
