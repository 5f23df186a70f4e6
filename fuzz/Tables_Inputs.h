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
#include "tables/Cell_Type_Unit.h"
#include "tables/Database_Unit.h"

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
// number of types ctInteger to ctNeitherCountryNorEmpty the text has under the
// point.
inline int FuzzCellType(const std::string& text) {
    static TReferenceLists lists;  // kept loaded from one input to the next
    const char separatorBefore = DecimalSeparator();
    int count = 0;
    for (const char separator : {'.', ','}) {
        SetDecimalSeparator(separator);
        bool is[ctColorFunction] = {};
        for (int type = 0; type < ctColorFunction; ++type) {
            try {
                is[type] = CheckType(text, static_cast<TCellType>(type), lists);
            } catch (const EPatternMatcherError&) {
                // the look-up pattern made of the text does not compile
                FuzzRequire(type == ctCountry || type == ctPsychotrope || type == ctStupefiant ||
                                type == ctCipNotPsychotrope || type == ctNotCipOrPsychotrope ||
                                type == ctNeitherCipNorEmptyOrPsychotrope ||
                                type == ctCountryOrEmpty || type == ctNeitherCountryNorEmpty,
                            "only the look-ups put the text into a pattern");
                is[type] = false;
                continue;
            }
            if (separator == '.' && is[type]) ++count;
        }
        FuzzRequire(is[ctAnyText] && is[ctAnything] && !is[ctNoText], "constant types");
        FuzzRequire(is[ctNotReal] == !is[ctReal] && is[ctNotDigits] == !is[ctDigits] &&
                        is[ctNotCip] == !is[ctCipCode] &&
                        is[ctNotFourDigits] == !is[ctFourDigits] && is[ctNotDate] == !is[ctDate] &&
                        is[ctNotInteger] == !is[ctInteger],
                    "negations");
        FuzzRequire(is[ctEmpty] == !is[ctNotEmpty] &&
                        is[ctEmpty] == TStringManager::TrimChar(text, ' ').empty(),
                    "empty");
        FuzzRequire(!is[ctIntegerPositive] || is[ctIntegerNotNegative],
                    "positive integers are non-negative");
        FuzzRequire(!is[ctRealPositive] || is[ctRealNotNegative],
                    "positive reals are non-negative");
        // Not a check: reported and false.
        FuzzRequire(!CheckType(text, ctColorFunction, lists), "the colour function is no type");
    }
    SetDecimalSeparator(separatorBefore);
    return count;
}
