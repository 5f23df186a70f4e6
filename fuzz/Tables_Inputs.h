// Fuzz entries of the data tables: the database loader on a table file's text,
// with a search of every kind on every field, and the cell type checks on a cell
// text.
#pragma once

#include <algorithm>
#include <string>

#include "Fuzz_Support.h"
#include "base/Real_Format.h"
#include "common/Pattern_Matcher_Unit.h"
#include "common/String_Manager_Unit.h"
#include "platform/Grid_Control.h"
#include "tables/Database_Unit.h"
#include "tables/My_String_Grid_Unit.h"

// Loads the text as a table file, checks that every value is the file's field,
// and searches every field for the first record's value with each kind (a value
// that is no valid pattern raises the matcher's error, which the program lets
// through too). Returns the number of records.
inline int32_t FuzzDatabase(const std::string& bytes) {
    const TLineList lines = FuzzLines(bytes);
    TMyDatabase db("");
    db.LoadFromStrings(lines);
    if (lines.Count() == 0) {
        FuzzRequire(db.FieldCount() == 0 && db.RecordCount() == 0, "no line, empty table");
        return 0;
    }
    const std::string& header = lines.Lines()[0];
    const int32_t fields = TStringManager::CountFields(header, ';');
    FuzzRequire(db.FieldCount() == fields, "field count");
    FuzzRequire(db.RecordCount() == (fields == 0 ? 0 : lines.Count() - 1), "record count");
    for (int32_t f = 0; f < db.FieldCount(); ++f) {
        FuzzRequire(db.Index(f).size() == static_cast<size_t>(db.RecordCount()), "index size");
        for (int32_t r = 0; r < db.RecordCount(); ++r)
            FuzzRequire(
                db.DBGetString(f, r) == UnescapeNewLines(TStringManager::GetField(
                                            lines.Lines()[static_cast<size_t>(r) + 1], f + 1, ';')),
                "a value is its field of the file");
    }
    if (db.RecordCount() == 0) return 0;
    for (int32_t f = 0; f < db.FieldCount(); ++f) {
        const std::string& name = db.FieldNames()[static_cast<size_t>(f)];
        const std::string key = db.DBGetString(f, 0);
        for (TSearchKind kind = 0; kind <= 6; ++kind) {
            try {
                db.Search(name, key, kind);
            } catch (const EPatternMatcherError&) {
                continue;
            }
            for (const int32_t r : db.Results())
                FuzzRequire(r >= 0 && r < db.RecordCount(), "results are records");
            if (kind == skSimilarity && db.GetFieldPos(name) == f)
                FuzzRequire(db.ResultCount() == db.RecordCount(),
                            "similarity selects every record");
        }
    }
    return db.RecordCount();
}

// Every cell type of the text, with the point and then the comma as decimal
// separator; the reference lists come from ./Data when it is there. Returns the
// number of types 0 to 53 the text has under the point.
inline int FuzzCellType(const std::string& text) {
    static TMemoryGridControl control(3, 3);
    static TMyStringGrid grid(&control, nullptr);  // keeps the reference lists loaded
    const char separatorBefore = DecimalSeparator();
    int count = 0;
    for (const char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        bool is[kColorFunctionCellType] = {};
        for (int type = 0; type < kColorFunctionCellType; ++type) {
            try {
                is[type] = grid.CheckType(text, static_cast<TCellType>(type));
            } catch (const EPatternMatcherError&) {
                // the look-up pattern made of the text does not compile
                FuzzRequire(type == 23 || type == 30 || type == 31 || type == 28 || type == 29 ||
                                type == 32 || type == 52 || type == 53,
                            "only the look-ups put the text into a pattern");
                is[type] = false;
                continue;
            }
            if (separator == '.' && is[type]) ++count;
        }
        FuzzRequire(is[3] && is[7] && !is[4], "constant types");
        FuzzRequire(is[37] == !is[1] && is[38] == !is[12] && is[40] == !is[26] &&
                        is[41] == !is[25] && is[50] == !is[27] && is[51] == !is[0],
                    "negations");
        FuzzRequire(is[5] == !is[6] && is[5] == TStringManager::TrimChar(text, ' ').empty(),
                    "empty");
        FuzzRequire(!is[9] || is[8], "positive integers are non-negative");
        FuzzRequire(!is[15] || is[13], "positive reals are non-negative");
        grid.CheckType(text, kColorFunctionCellType);
    }
    SetDecimalSeparator(separatorBefore);
    return count;
}
