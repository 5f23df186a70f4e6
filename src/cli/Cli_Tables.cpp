// kavelin-cli db search FILE FIELD PATTERN KIND: the record numbers that a search
// of one field of a ';'-separated table finds, one per line, in result order.
// kavelin-cli check-type TEXT TYPE: whether a cell text is of a cell type.
#include <cstdio>

#include "base/Integer_Text.h"
#include "cli/Cli.h"
#include "tables/Cell_Type_Unit.h"
#include "tables/Database_Unit.h"

namespace {

// The search kinds, by their numbers.
constexpr const char* kKindNames[] = {
    "whole match",         // skWholeMatch
    "prefix",              // skDichotomic
    "regular expression",  // skRegEx
    "similarity",          // skSimilarity
    "contains",            // skContains
    "contained in",        // skContainedIn
};
constexpr int kHighestKind = skContainedIn;

// The cell types, by their numbers (ctInteger to ctNeitherCountryNorEmpty).
constexpr const char* kTypeNames[] = {
    "integer",
    "real",
    "boolean",
    "any text",
    "no text (never)",
    "empty",
    "not empty",
    "anything",
    "integer >= 0",
    "integer > 0",
    "integer <= 0",
    "integer or empty",
    "digits",
    "real >= 0",
    "empty or real >= 0",
    "real > 0",
    "real being typed",
    "real being typed or empty",
    "real >= 1",
    "real <= 0",
    "real < 0",
    "telephone number or empty",
    "e-mail address or empty",
    "country",
    "thirteen characters",
    "four digits",
    "CIP code",
    "date",
    "CIP code, not psychotropic",
    "not CIP code, or psychotropic",
    "psychotropic product",
    "narcotic product",
    "not CIP nor empty, or psychotropic",
    "CIP code not starting with 3",
    "FA code",
    "DE code",
    "AV code",
    "not a real",
    "not digits",
    "not a telephone number",
    "not a CIP code",
    "not four digits",
    "not empty, not four digits",
    "not empty, not a telephone number",
    "not empty, not a CIP code",
    "not a real >= 1",
    "not empty, not an FA code",
    "not empty, not a DE code",
    "not empty, not an AV code",
    "not empty, not an e-mail address",
    "not a date",
    "not an integer",
    "country or empty",
    "neither country nor empty",
};
constexpr int kHighestType = ctNeitherCountryNorEmpty;
static_assert(std::size(kKindNames) == kHighestKind + 1);
static_assert(std::size(kTypeNames) == kHighestType + 1);

// A whole number from 0 to `highest`, in decimal digits only.
std::optional<int> ParseNumber(const std::string& text, int highest) {
    const std::optional<uint64_t> parsed = ParseUInt64(text, TIntegerForm::Digits);
    if (!parsed || *parsed > static_cast<uint64_t>(highest)) return std::nullopt;
    return static_cast<int>(*parsed);
}

std::string KindList() {
    std::string list;
    for (int k = 0; k <= kHighestKind; ++k)
        list += (k ? ", " : "") + std::to_string(k) + " " + kKindNames[k];
    return list;
}

int RunDb(const std::vector<std::string>& args) {
    if (args.empty() || args[0] != "search")
        return UsageError("db", "expects the action search: db search FILE FIELD PATTERN KIND");
    if (args.size() != 5) return UsageError("db", "search expects FILE FIELD PATTERN KIND");
    const std::optional<int> kind = ParseNumber(args[4], kHighestKind);
    if (!kind)
        return UsageError(
            "db", "KIND must be a number from 0 to 5 (" + KindList() + "), not '" + args[4] + "'");
    if (!RequireFile("db", args[1], "table")) return kExitFailed;
    TMyDatabase database(args[1]);
    database.Search(Utf8ToAnsi(args[2]), Utf8ToAnsi(args[3]), static_cast<TSearchKind>(*kind));
    if (JsonOutput()) {
        TJsonArray records;
        for (const int32_t record : database.Results()) records.Append(record);
        PrintJson(TJsonObject()
                      .Set("file", args[1])
                      .Set("field", args[2])
                      .Set("pattern", args[3])
                      .Set("kind", *kind)
                      .Set("kind_name", kKindNames[*kind])
                      .Set("records", records));
        return kExitDone;
    }
    for (const int32_t record : database.Results()) std::printf("%d\n", record);
    return kExitDone;
}

int RunCheckType(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("check-type", "expects TEXT TYPE");
    const std::optional<int> type = ParseNumber(args[1], kHighestType);
    if (!type)
        return UsageError("check-type", "TYPE must be a number from 0 (" +
                                            std::string(kTypeNames[0]) + ") to 53 (" +
                                            kTypeNames[kHighestType] + "), not '" + args[1] + "'");
    // The reference lists are read from ./Data under the working directory, as
    // the program reads them.
    TReferenceLists lists;
    const bool is = CheckType(Utf8ToAnsi(args[0]), static_cast<TCellType>(*type), lists);
    if (JsonOutput()) {
        PrintJson(TJsonObject()
                      .Set("text", args[0])
                      .Set("type", *type)
                      .Set("type_name", kTypeNames[*type])
                      .Set("result", is));
        return kExitDone;
    }
    std::printf("%s\n", is ? "true" : "false");
    return kExitDone;
}

std::string DbHelp() {
    std::string help =
        "Loads the ';'-separated table FILE (its first line names the fields) and searches the "
        "field FIELD for PATTERN, as the database window does. The numbers of the records found "
        "(from 0, in the order of the table's records) are printed one per line, in the order "
        "the search gives them.\n\nKIND:\n";
    const char* const meanings[] = {
        "the whole value matches the regular expression",
        "the value begins with PATTERN (sorted index)",
        "the value matches the regular expression PATTERN",
        "every record, the most similar values first",
        "the value contains a match of PATTERN",
        "the value is found within PATTERN",
    };
    for (int k = 0; k <= kHighestKind; ++k) {
        std::string name = kKindNames[k];
        name.resize(19, ' ');
        help += "  " + std::to_string(k) + "  " + name + " " + meanings[k] + "\n";
    }
    help +=
        "\nA FILE that does not exist is said before anything else (exit 1); a FIELD the "
        "table lacks, or a PATTERN that is no valid regular expression, is the engine's "
        "error (exit 1).";
    return help;
}

std::string CheckTypeHelp() {
    std::string help =
        "Prints true or false: whether TEXT, without its leading and trailing spaces, is of the "
        "cell type TYPE, as the typed grid checks its cells. The types that look up a country "
        "or a product read the lists of ./Data under the working directory.\n\nTYPE:\n";
    constexpr int kRows = (kHighestType + 2) / 2;
    for (int row = 0; row < kRows; ++row) {
        char line[96];
        std::snprintf(line, sizeof line, "  %2d %-35s", row, kTypeNames[row]);
        std::string text = line;
        if (row + kRows <= kHighestType) {
            std::snprintf(line, sizeof line, " %2d %s", row + kRows, kTypeNames[row + kRows]);
            text += line;
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        help += text + "\n";
    }
    return help;
}

}  // namespace

KAVELIN_SUBCOMMAND("db", "search FILE FIELD PATTERN KIND",
                   "the records of a table that a search selects", RunDb, DbHelp(), true);
KAVELIN_SUBCOMMAND("check-type", "TEXT TYPE", "whether TEXT is of the cell type TYPE", RunCheckType,
                   CheckTypeHelp(), true);
