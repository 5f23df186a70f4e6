// kavelin-cli db search FILE FIELD PATTERN KIND: the record numbers that a search
// of one field of a ';'-separated table finds, one per line, in result order.
// kavelin-cli check-type TEXT TYPE: whether a cell text is of a cell type.
#include <cstdio>

#include "base/Integer_Text.h"
#include "cli/Cli.h"
#include "tables/Cell_Type_Unit.h"
#include "tables/Database_Unit.h"

namespace {

// A whole number from 0 to 255.
bool ParseByte(const std::string& text, uint8_t& value) {
    const std::optional<uint64_t> parsed = ParseUInt64(text, TIntegerForm::Digits);
    if (!parsed || *parsed > 255) return false;
    value = static_cast<uint8_t>(*parsed);
    return true;
}

int RunDb(const std::vector<std::string>& args) {
    if (args.size() != 5 || args[0] != "search")
        return UsageError("db", "expects: search FILE FIELD PATTERN KIND");
    TSearchKind kind = 0;
    if (!ParseByte(args[4], kind)) return UsageError("db", "KIND must be a number from 0 to 255");
    TMyDatabase database(args[1]);
    database.Search(Utf8ToAnsi(args[2]), Utf8ToAnsi(args[3]), kind);
    for (const int32_t record : database.Results()) std::printf("%d\n", record);
    return 0;
}

int RunCheckType(const std::vector<std::string>& args) {
    if (args.size() != 2) return UsageError("check-type", "expects TEXT TYPE");
    uint8_t type = 0;
    if (!ParseByte(args[1], type))
        return UsageError("check-type", "TYPE must be a number from 0 to 255");
    // The reference lists are read from ./Data under the working directory, as
    // the program reads them.
    TReferenceLists lists;
    const bool is = CheckType(Utf8ToAnsi(args[0]), static_cast<TCellType>(type), lists);
    std::printf("%s\n", is ? "true" : "false");
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("db", "search FILE FIELD PATTERN KIND",
                   "the record numbers of FILE whose FIELD the search KIND (0 to 5) selects",
                   RunDb);
KAVELIN_SUBCOMMAND("check-type", "TEXT TYPE", "whether TEXT is of the cell type TYPE (0 to 53)",
                   RunCheckType);
