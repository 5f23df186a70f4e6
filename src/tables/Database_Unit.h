// Database_Unit: one table of texts read from a ';'-separated file (a header line
// of field names, then one record per line), a sorted index per field, and
// searches on one field that return record numbers.
//
// Failures are reported through the Messenger and give a neutral value; only a
// search pattern that cannot be compiled raises the pattern matcher's error.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/Line_List.h"
#include "common/My_Types_Unit.h"

class IGridControl;
class TMyStringGrid;

// The search kinds of Select and Search.
using TSearchKind = uint8_t;
constexpr TSearchKind skWholeMatch = 0;   // "^" + pattern + "$"
constexpr TSearchKind skDichotomic = 1;   // the run equal under PrefixCompare
constexpr TSearchKind skRegEx = 2;        // the pattern itself
constexpr TSearchKind skSimilarity = 3;   // every entry, most similar first
constexpr TSearchKind skContains = 4;     // "^.*" + pattern + ".*$"
constexpr TSearchKind skContainedIn = 5;  // "^.*" + entry + ".*$" matches the pattern

// One field's index: a pair per record not marked deleted, sorted by CompareTyped.
using TIndexList = std::vector<TPairOfStringInt>;

// 0 when both are non-empty and one begins with the other; otherwise the ordinal
// comparison (negative, 0 or positive).
int32_t PrefixCompare(const std::string& a, const std::string& b);
// Replaces the first occurrence of `oldText` while there is one, searching from
// the start each time. `newText` must not contain `oldText`.
std::string ReplaceAll(std::string text, const std::string& oldText, const std::string& newText);
// The two characters backslash and n become CR LF.
std::string UnescapeNewLines(const std::string& text);

// The database window's grid, set by that window while it exists; every database
// made from a file wraps it.
void SetDatabaseWindowGrid(IGridControl* grid);
IGridControl* DatabaseWindowGrid();

// The most fields, and values (fields times records), that a table is loaded
// with: every value is a text of its own, in the table and in its field's index.
constexpr int32_t kMaxDatabaseFields = 100000;
constexpr int64_t kMaxDatabaseCells = 2000000;

class TMyDatabase {
  public:
    // Loads the file when it exists; otherwise the table stays empty, silently.
    explicit TMyDatabase(const std::string& fileName);
    ~TMyDatabase();
    TMyDatabase(const TMyDatabase&) = delete;
    TMyDatabase& operator=(const TMyDatabase&) = delete;

    // Does nothing when the file does not exist; raises EFileError when it exists
    // but cannot be read.
    void LoadFromFile(const std::string& fileName);
    // Replaces the values and field names and rebuilds every index. No line at
    // all gives an empty table; so does a table beyond kMaxDatabaseFields or
    // kMaxDatabaseCells, refused with an error before anything is allocated.
    void LoadFromStrings(const TLines& lines);

    int32_t FieldCount() const { return static_cast<int32_t>(fFieldNames.size()); }
    int32_t RecordCount() const;
    // The first field of exactly this name, or -1 after an error report.
    int32_t GetFieldPos(const std::string& name) const;
    // The value, or the empty text after an error report.
    std::string DBGetString(int32_t field, int32_t record) const;
    void SetData(int32_t field, int32_t record, const std::string& value);
    bool IsDeleted(int32_t record) const;

    void BuildIndex(int32_t field);
    void BuildIndexes();
    void FreeIndexes();
    // Brings every stale index up to date and empties the results.
    void PrepareSearch();

    // The run (first, last) of entries of `list` equal to `key` under
    // PrefixCompare, widened over the whole list around the entry the halving
    // finds; (-1, -1) when none is found. An absent list or a bad range is reported.
    static std::pair<int32_t, int32_t> DichotomicFindFirst(const TIndexList* list,
                                                           const std::string& key, int32_t start,
                                                           int32_t finish);

    // Fills the selection with the record numbers of the field's entries that
    // the kind selects.
    void Select(const std::string& fieldName, const std::string& pattern, TSearchKind kind);
    // PrepareSearch, Select, and the selection becomes the results.
    void Search(const std::string& fieldName, const std::string& pattern, TSearchKind kind);
    int32_t ResultCount() const { return static_cast<int32_t>(fResults.size()); }
    const std::vector<int32_t>& Results() const { return fResults; }

    const std::string& FileName() const { return fFileName; }
    const std::vector<std::string>& FieldNames() const { return fFieldNames; }
    // The field's index as it stands (possibly stale); empty for a bad field.
    const TIndexList& Index(int32_t field) const;
    bool IndexValid(int32_t field) const;
    // The wrapper over the database window's grid, or none.
    TMyStringGrid* Grid() const { return fGrid.get(); }

  private:
    std::vector<std::vector<std::string>> fDatas;  // [field][record]
    std::vector<std::string> fFieldNames;
    std::vector<bool> fDeleted;
    std::vector<TIndexList> fIndexes;
    std::string fFileName;
    std::vector<int32_t> fResults;
    std::vector<int32_t> fSelection;
    std::unique_ptr<TMyStringGrid> fGrid;
    std::vector<bool> fIndexValid;
};
