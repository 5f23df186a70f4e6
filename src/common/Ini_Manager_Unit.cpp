#include "common/Ini_Manager_Unit.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>
#include <tuple>

#include "diagnostics/TraceUnit.h"

namespace {

const std::vector<std::unique_ptr<TIniSection>> kNoSections;

bool FileExists(const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path path(fileName);
    return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

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
    std::vector<std::string> copy = lines.ToVector();
    if (copy.empty()) {
        Messenger.Error("Ini_Manager_Unit:LoadFromStrings:Strings vide");
        return;
    }
    ReadLines(copy);
}

namespace {

// A section as it is read, before it joins the list: its pairs in line order,
// each with its key, value and line number.
struct TReadSection {
    std::unique_ptr<TIniSection> Section;
    std::vector<std::tuple<std::string, std::string, size_t>> Pairs;
};

// Hands the pairs of a read section to its pair list, as adding them one by one
// in line order would leave it: sorted by key, the last value of a repeated key
// kept, and each repetition reported in line order.
void SettlePairs(TReadSection& read) {
    auto& pairs = read.Pairs;
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
    std::vector<std::pair<std::string, std::string>> settled;
    std::vector<std::pair<size_t, size_t>> repeats;  // (line, index of the pair in `pairs`)
    for (size_t i = 0; i < pairs.size(); ++i) {
        if (!settled.empty() && settled.back().first == std::get<0>(pairs[i])) {
            repeats.emplace_back(std::get<2>(pairs[i]), i);
            settled.back().second = std::move(std::get<1>(pairs[i]));
        } else {
            settled.emplace_back(std::move(std::get<0>(pairs[i])),
                                 std::move(std::get<1>(pairs[i])));
        }
    }
    std::sort(repeats.begin(), repeats.end());
    for (const auto& [line, i] : repeats)
        TListOfPairOfStrings::ReportRepeatedKey(std::get<0>(pairs[i]));
    read.Section->Pairs().AssignSorted(std::move(settled));
    pairs = {};
}

// Counts per rank of name, with prefix sums, in O(log n) each.
class TRankCounts {
  public:
    explicit TRankCounts(size_t size) : fTree(size + 1, 0) {}
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
    std::vector<std::unique_ptr<TIniSection>> kept;  // in the order they are added
    TReadSection current;
    const auto keepCurrent = [&] {
        if (!current.Section) return;
        SettlePairs(current);
        if (!current.Section->Name().empty()) kept.push_back(std::move(current.Section));
        current.Section.reset();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& text = lines[i];
        // A UTF-8 byte-order mark before the first line is no part of it.
        const bool bom = i == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0;
        TStringManager::TIniLine line = TStringManager::ParseIniLine(bom ? text.substr(3) : text);
        switch (line.Kind) {
            case TStringManager::TIniLineKind::Section:
                keepCurrent();
                current.Section = std::make_unique<TIniSection>(std::move(line.Name));
                break;
            case TStringManager::TIniLineKind::KeyValue:
                if (current.Section && !line.Name.empty() && !line.Value.empty())
                    current.Pairs.emplace_back(std::move(line.Name), std::move(line.Value), i);
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
// below, equal to and above its own are all it reads), and the positions are
// then resolved from the last insertion back, each taking the free place of its
// rank: O(n log n) instead of moving the list at every insertion.
void TIniManager::PlaceSections(std::vector<std::unique_ptr<TIniSection>> sections) {
    const size_t count = sections.size();
    std::vector<const std::string*> names;
    names.reserve(count);
    for (const auto& s : sections) names.push_back(&s->MatchName());
    std::sort(names.begin(), names.end(),
              [](const std::string* a, const std::string* b) { return *a < *b; });
    names.erase(std::unique(names.begin(), names.end(),
                            [](const std::string* a, const std::string* b) { return *a == *b; }),
                names.end());
    const auto rankOf = [&](const std::string& name) {
        return static_cast<size_t>(
            std::lower_bound(names.begin(), names.end(), &name,
                             [](const std::string* a, const std::string* b) { return *a < *b; }) -
            names.begin());
    };

    TRankCounts byName(names.size());
    std::vector<int32_t> positions(count);
    for (size_t t = 0; t < count; ++t) {
        const size_t rank = rankOf(sections[t]->MatchName());
        const int32_t below = byName.Below(rank);
        const int32_t equal = byName.Below(rank + 1) - below;
        const auto keyAt = [&](int32_t i) -> const std::string& {
            if (i < below) return *names[rank - 1];
            if (i < below + equal) return *names[rank];
            return *names[rank + 1];
        };
        positions[t] = BisectSortedPos(*names[rank], 0, static_cast<int32_t>(t) - 1, keyAt);
        byName.Add(rank, 1);
    }

    TRankCounts taken(count);
    for (size_t place = 0; place < count; ++place) taken.Add(place, 1);
    auto& list = *fSections;
    list.resize(count);
    for (size_t t = count; t-- > 0;) {
        const size_t place = taken.Find(positions[t]);
        taken.Add(place, -1);
        list[place] = std::move(sections[t]);
    }
}

int32_t TIniManager::FindSectionPos(const std::string& matchName, int32_t low, int32_t high) const {
    return BisectSortedPos(matchName, low, high, [this](int32_t i) -> const std::string& {
        return (*fSections)[static_cast<size_t>(i)]->MatchName();
    });
}

const TIniSection* TIniManager::FindSection(const std::string& section) const {
    const std::string name = MatchName(section);
    const int32_t count = static_cast<int32_t>(fSections->size());
    const int32_t p = FindSectionPos(name, 0, count - 1);
    if (p < count && (*fSections)[static_cast<size_t>(p)]->MatchName() == name)
        return (*fSections)[static_cast<size_t>(p)].get();
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
    if (TStringManager::IsInteger(text)) {
        int64_t value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        if (value >= std::numeric_limits<int32_t>::min() &&
            value <= std::numeric_limits<int32_t>::max())
            return static_cast<int32_t>(value);
    }
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
    const auto first =
        std::lower_bound(fSections->begin(), fSections->end(), name,
                         [](const auto& s, const std::string& n) { return s->MatchName() < n; });
    return first != fSections->end() && (*first)->MatchName() == name &&
           (*first)->Pairs().HasKey(key);
}

int32_t TIniManager::SectionCount() const {
    return fSections ? static_cast<int32_t>(fSections->size()) : 0;
}

const std::vector<std::unique_ptr<TIniSection>>& TIniManager::Sections() const {
    return fSections ? *fSections : kNoSections;
}
