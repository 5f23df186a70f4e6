#include "tables/Database_Unit.h"

#include <algorithm>
#include <numeric>

#include "analysis/Text_Distance_Unit.h"
#include "base/File_Io.h"
#include "base/Real_Format.h"
#include "common/String_Manager_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "tables/My_String_Grid_Unit.h"

namespace {

IGridControl* gDatabaseWindowGrid = nullptr;

// Made on the first similarity search and kept: it holds no state between
// comparisons.
const TTextDistanceManager& DistanceManager() {
    static const TTextDistanceManager manager;
    return manager;
}

}  // namespace

void SetDatabaseWindowGrid(IGridControl* grid) {
    gDatabaseWindowGrid = grid;
}

IGridControl* DatabaseWindowGrid() {
    return gDatabaseWindowGrid;
}

int32_t PrefixCompare(const std::string& a, const std::string& b) {
    if (TStringManager::SamePrefix(a, b)) return 0;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

std::string ReplaceAll(std::string text, const std::string& oldText, const std::string& newText) {
    if (oldText.empty()) return text;
    // Since newText cannot contain oldText, no occurrence starts before the
    // place of the last replacement, so searching on from there finds the same
    // first occurrence as searching from the start.
    size_t at = text.find(oldText);
    while (at != std::string::npos) {
        text.replace(at, oldText.size(), newText);
        at = text.find(oldText, at >= oldText.size() ? at - oldText.size() + 1 : 0);
    }
    return text;
}

std::string UnescapeNewLines(const std::string& text) {
    return ReplaceAll(text, "\\n", "\r\n");
}

TMyDatabase::TMyDatabase(const std::string& fileName) {
    if (!FileExists(fileName)) return;
    fFileName = fileName;
    if (gDatabaseWindowGrid) fGrid = std::make_unique<TMyStringGrid>(gDatabaseWindowGrid, nullptr);
    LoadFromFile(fileName);
}

TMyDatabase::~TMyDatabase() = default;

void TMyDatabase::LoadFromFile(const std::string& fileName) {
    if (!FileExists(fileName)) return;
    fFileName = fileName;
    TLineList lines;
    lines.LoadFromFile(fileName);
    LoadFromStrings(lines);
}

void TMyDatabase::LoadFromStrings(const TLines& lines) {
    const int32_t n = lines.Count();
    fFieldNames.clear();
    fDatas.clear();
    fDeleted.clear();
    fIndexValid.clear();
    if (n > 0) {
        const std::string header = lines.Get(0);
        const int32_t fields = TStringManager::CountFields(header, ';');
        const int64_t cells = int64_t{fields} * (n - 1);
        if (fields > kMaxDatabaseFields || cells > kMaxDatabaseCells) {
            Messenger.Error("TMyDatabase.LoadFromStrings:" + IntToStr(fields) + " champs et " +
                            IntToStr(n - 1) + " enregistrements, soit " + IntToStr(cells) +
                            " valeurs (au plus " + IntToStr(kMaxDatabaseFields) + " champs et " +
                            IntToStr(kMaxDatabaseCells) + " valeurs) : table vide");
            BuildIndexes();
            return;
        }
        fFieldNames = TStringManager::FirstFields(header, fields, ';');
        fDeleted.assign(static_cast<size_t>(n - 1), false);
        fDatas.assign(static_cast<size_t>(fields),
                      std::vector<std::string>(static_cast<size_t>(n - 1)));
        fIndexValid.assign(static_cast<size_t>(fields), false);
        for (int32_t i = 1; i < n; ++i) {
            // Each line is split once: the loader is linear in its length.
            std::vector<std::string> values =
                TStringManager::FirstFields(lines.Get(i), fields, ';');
            for (int32_t k = 0; k < fields; ++k)
                fDatas[static_cast<size_t>(k)][static_cast<size_t>(i - 1)] =
                    UnescapeNewLines(values[static_cast<size_t>(k)]);
        }
    }
    BuildIndexes();
}

int32_t TMyDatabase::RecordCount() const {
    return fDatas.empty() ? 0 : static_cast<int32_t>(fDatas[0].size());
}

int32_t TMyDatabase::GetFieldPos(const std::string& name) const {
    for (size_t i = 0; i < fFieldNames.size(); ++i)
        if (fFieldNames[i] == name) return static_cast<int32_t>(i);
    Messenger.Error("TMyDatabase.GetFieldPos:impossible de trouver le champ " + name);
    return -1;
}

std::string TMyDatabase::DBGetString(int32_t field, int32_t record) const {
    if (!fDeleted.empty() && record >= 0 && record < static_cast<int32_t>(fDeleted.size()) &&
        fDeleted[static_cast<size_t>(record)]) {
        Messenger.Error("TMyDatabase.DBGetString:Trying to Get deleted Data at pos " +
                        IntToStr(record));
        return {};
    }
    if (fDatas.empty()) {
        Messenger.Error("TMyDatabase.DBGetString: fDatas not assigned");
        return {};
    }
    if (field < 0 || field >= FieldCount()) {
        Messenger.ErrorInt("TMyDatabase.DBGetString: champ hors limites", field);
        return {};
    }
    const auto& values = fDatas[static_cast<size_t>(field)];
    if (values.empty()) {
        Messenger.Error("TMyDatabase.DBGetString: fDatas[" + IntToStr(field) + "] not assigned");
        return {};
    }
    if (record < 0 || record >= static_cast<int32_t>(values.size())) {
        Messenger.ErrorInt("TMyDatabase.DBGetString: index hors limites ", record);
        return {};
    }
    return values[static_cast<size_t>(record)];
}

void TMyDatabase::SetData(int32_t field, int32_t record, const std::string& value) {
    if (field < 0 || field >= FieldCount() || record < 0 || record >= RecordCount()) {
        Messenger.ErrorPair("TMyDatabase.SetData: Bad Field / pos : ", field, record);
        return;
    }
    fDeleted[static_cast<size_t>(record)] = false;
    fDatas[static_cast<size_t>(field)][static_cast<size_t>(record)] = value;
    fIndexValid[static_cast<size_t>(field)] = false;
}

bool TMyDatabase::IsDeleted(int32_t record) const {
    if (fDeleted.empty()) {
        Messenger.Error("TMyDatabase.IsDeleted:trying to acces a non assigned dynamic array");
        return false;
    }
    if (record < 0 || record >= static_cast<int32_t>(fDeleted.size())) {
        Messenger.Error("TMyDatabase.IsDeleted:Index " + IntToStr(record) +
                        " en dehors des limites du dynamic array");
        return false;
    }
    return fDeleted[static_cast<size_t>(record)];
}

void TMyDatabase::BuildIndex(int32_t field) {
    if (field < 0 || field >= FieldCount()) return;
    TIndexList list;
    list.reserve(static_cast<size_t>(RecordCount()));
    for (int32_t r = 0; r < RecordCount(); ++r)
        if (!IsDeleted(r)) list.emplace_back(DBGetString(field, r), r);
    // A merge sort: CompareTyped mixes typed and ordinal comparisons, so it is not
    // a strict weak order on every set of texts, and only a sort that never
    // relies on transitivity is safe with it. Each text's typed key is read once;
    // the sort moves positions, which then place the entries.
    std::vector<TStringManager::TTypedKey> keys;
    keys.reserve(list.size());
    for (const auto& entry : list) keys.push_back(TStringManager::TypedKey(entry.Text));
    std::vector<size_t> order(list.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](size_t a, size_t b) {
        return TStringManager::CompareTyped(keys[a], keys[b]) < 0;
    });
    TIndexList sorted;
    sorted.reserve(list.size());
    for (const size_t at : order) sorted.push_back(std::move(list[at]));
    list = std::move(sorted);
    if (fIndexes.size() < fFieldNames.size()) fIndexes.resize(fFieldNames.size());
    if (fIndexValid.size() < fFieldNames.size()) fIndexValid.resize(fFieldNames.size(), false);
    fIndexes[static_cast<size_t>(field)] = std::move(list);
    fIndexValid[static_cast<size_t>(field)] = true;
}

void TMyDatabase::BuildIndexes() {
    Messenger.RefreshTrace();
    FreeIndexes();
    fIndexes.resize(fFieldNames.size());
    fIndexValid.assign(fFieldNames.size(), false);
    for (int32_t f = 0; f < FieldCount(); ++f) BuildIndex(f);
}

void TMyDatabase::FreeIndexes() {
    fIndexes.clear();
}

void TMyDatabase::PrepareSearch() {
    for (int32_t f = 0; f < FieldCount(); ++f)
        if (!IndexValid(f)) BuildIndex(f);
    fResults.clear();
    fSelection.clear();
}

const TIndexList& TMyDatabase::Index(int32_t field) const {
    static const TIndexList empty;
    if (field < 0 || field >= static_cast<int32_t>(fIndexes.size())) return empty;
    return fIndexes[static_cast<size_t>(field)];
}

bool TMyDatabase::IndexValid(int32_t field) const {
    return field >= 0 && field < static_cast<int32_t>(fIndexValid.size()) &&
           fIndexValid[static_cast<size_t>(field)];
}

std::pair<int32_t, int32_t> TMyDatabase::DichotomicFindFirst(const TIndexList* list,
                                                             const std::string& key, int32_t start,
                                                             int32_t finish) {
    const std::pair<int32_t, int32_t> none{-1, -1};
    if (!list) {
        Messenger.Error(
            "TMyDatabase.DichotomicFindFirst:liste index non assign\xE9"
            "e");
        return none;
    }
    const int32_t count = static_cast<int32_t>(list->size());
    if (start < 0 || start >= count || finish < 0 || finish >= count || start > finish) {
        Messenger.Error("TMyDatabase.DichotomicFindFirst:Paire Start / Finish non valide : " +
                        IntToStr(start) + "," + IntToStr(finish));
        return none;
    }
    const auto text = [list](int32_t i) -> const std::string& {
        return (*list)[static_cast<size_t>(i)].Text;
    };
    // The halving, as a loop: each step keeps the half whose ends enclose the key.
    int32_t found = -1;
    for (;;) {
        const int32_t cS = PrefixCompare(key, text(start));
        const int32_t cF = PrefixCompare(key, text(finish));
        if (cS < 0 || cF > 0) return none;
        if (cS == 0) found = start;
        if (cF == 0) found = finish;
        const int32_t mid = (start + finish) / 2;
        const int32_t cM = PrefixCompare(key, text(mid));
        if (cM == 0) found = mid;
        if (found != -1) break;
        if (finish - start <= 1) return none;
        if (cM < 0)
            finish = mid;
        else
            start = mid;
    }
    int32_t first = found;
    while (first >= 0 && PrefixCompare(key, text(first)) == 0) --first;
    ++first;
    int32_t last = found;
    while (last < count && PrefixCompare(key, text(last)) == 0) ++last;
    --last;
    return {first, last};
}

void TMyDatabase::Select(const std::string& fieldName, const std::string& pattern,
                         TSearchKind kind) {
    fSelection.clear();
    const int32_t f = GetFieldPos(fieldName);
    if (f == -1) return;
    if (!IndexValid(f)) BuildIndex(f);
    const TIndexList& entries = fIndexes[static_cast<size_t>(f)];
    switch (kind) {
        case skDichotomic: {
            const auto [first, last] =
                DichotomicFindFirst(&entries, pattern, 0, static_cast<int32_t>(entries.size()) - 1);
            if (first != -1)
                for (int32_t i = first; i <= last; ++i)
                    fSelection.push_back(entries[static_cast<size_t>(i)].Index);
            break;
        }
        case skWholeMatch:
        case skRegEx:
        case skContains: {
            const std::string regex = kind == skWholeMatch ? "^" + pattern + "$"
                                      : kind == skContains ? "^.*" + pattern + ".*$"
                                                           : pattern;
            for (const auto& entry : entries)
                if (TStringManager::MatchRegex(regex, entry.Text))
                    fSelection.push_back(entry.Index);
            break;
        }
        case skContainedIn:
            for (const auto& entry : entries)
                if (TStringManager::MatchRegex("^.*" + entry.Text + ".*$", pattern))
                    fSelection.push_back(entry.Index);
            break;
        case skSimilarity: {
            // Descending by similarity, a later entry before earlier ones of equal
            // value: a stable sort of the entries taken from the last gives the
            // order that inserting each before the first not-greater one gives.
            std::vector<TPairOfRealInt> ranked;
            ranked.reserve(entries.size());
            for (auto it = entries.rbegin(); it != entries.rend(); ++it)
                ranked.emplace_back(DistanceManager().Distance(pattern, it->Text), it->Index);
            std::stable_sort(ranked.begin(), ranked.end(),
                             [](const auto& a, const auto& b) { return a.Value > b.Value; });
            for (const auto& pair : ranked) fSelection.push_back(pair.Index);
            break;
        }
        default:
            break;
    }
}

void TMyDatabase::Search(const std::string& fieldName, const std::string& pattern,
                         TSearchKind kind) {
    PrepareSearch();
    Select(fieldName, pattern, kind);
    fResults = fSelection;
}
