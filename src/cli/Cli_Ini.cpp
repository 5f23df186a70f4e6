// kavelin-cli ini get FILE SECTION KEY: the value that the INI reader gives.
// kavelin-cli ini dump FILE: every section in the reader's order, as "[name]",
// then its pairs in their order, one "key=value" line each.
// The reader's own reports go to standard error and make the exit status 1.
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
        if (!RequireFile("ini", args[1])) return kExitFailed;
        const TIniManager ini(args[1]);
        const std::string value = ini.Get(Utf8ToAnsi(args[2]), Utf8ToAnsi(args[3]));
        // A missing value is the empty text, already reported; print nothing for it.
        if (!value.empty()) PrintLine(value);
        return kExitDone;
    }
    if (args[0] == "dump") {
        if (args.size() != 2) return UsageError("ini", "dump expects FILE");
        if (!RequireFile("ini", args[1])) return kExitFailed;
        const TIniManager ini(args[1]);
        // A file the reader took in without finding one section (a picture, a
        // text of no INI form) is no INI file.
        if (ini.HasSectionList() && ini.Sections().empty())
            return Failure("ini", "'" + args[1] + "' holds no section: it is no INI file");
        for (const auto& section : ini.Sections()) {
            PrintLine("[" + section.Name() + "]");
            const TListOfPairOfStrings& pairs = section.Pairs();
            for (int32_t i = 0; i < pairs.Count(); ++i)
                PrintLine(pairs.KeyAt(i) + "=" + pairs.DataAt(i));
        }
        return kExitDone;
    }
    return UsageError("ini", "unknown action '" + args[0] + "' (get or dump)");
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "ini", "get FILE SECTION KEY | dump FILE", "reads an INI file as the program reads its own",
    RunIni,
    "get prints the value of KEY in SECTION (names compared without letter case and without "
    "surrounding spaces); a missing section or key prints nothing and is the reader's error "
    "(exit 1).\n\n"
    "dump prints every section as \"[name]\", in the reader's order, then its pairs in their "
    "order, one \"key=value\" line each. A file without any section is refused (exit 1).\n\n"
    "Lines may end in CR LF, LF or CR; a line beginning with ';' is a comment. What the reader "
    "reports (a duplicate key, a line of no INI form) goes to standard error and gives exit 1.");
