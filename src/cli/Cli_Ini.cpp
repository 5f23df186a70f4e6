// kavelin-cli ini get FILE SECTION KEY: the value that the INI reader gives.
// kavelin-cli ini dump FILE: every section in the reader's order, as "[name]",
// then its pairs in their order, one "key=value" line each.
// The reader's own reports follow as trace lines; errors also go to standard error
// and make the exit status 1.
#include <cstdio>

#include "cli/Cli.h"
#include "common/Ini_Manager_Unit.h"

namespace {

// Written whole, NUL bytes of odd files included.
void PrintLine(const std::string& text) {
    const std::string line = AnsiToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
}

int RunIni(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError("ini", "expects 'get FILE SECTION KEY' or 'dump FILE'");
    if (args[0] == "get") {
        if (args.size() != 4) return UsageError("ini", "get expects FILE SECTION KEY");
        const TIniManager ini(args[1]);
        const std::string value = ini.Get(Utf8ToAnsi(args[2]), Utf8ToAnsi(args[3]));
        // A missing value is the empty text, already reported; print nothing for it.
        if (!value.empty()) PrintLine(value);
        return 0;
    }
    if (args[0] == "dump") {
        if (args.size() != 2) return UsageError("ini", "dump expects FILE");
        const TIniManager ini(args[1]);
        for (const auto& section : ini.Sections()) {
            PrintLine("[" + section.Name() + "]");
            const TListOfPairOfStrings& pairs = section.Pairs();
            for (int32_t i = 0; i < pairs.Count(); ++i)
                PrintLine(pairs.KeyAt(i) + "=" + pairs.DataAt(i));
        }
        return 0;
    }
    return UsageError("ini", "unknown action '" + args[0] + "' (get or dump)");
}

}  // namespace

KAVELIN_SUBCOMMAND("ini", "get FILE SECTION KEY | dump FILE",
                   "reads an INI file: one value, or every section and pair in reading order",
                   RunIni);
