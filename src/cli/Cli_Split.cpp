// kavelin-cli split TEXT: the words of TEXT as the "Data Restructurator" page
// splits a line, one line each, fields separated by a tab: class, start, end,
// length, text. Classes: 0 letters and the space, 1 punctuation, 2 operators,
// 3 digits, 10 anything else, -1 the one empty word of an empty text.
#include <cstdio>

#include "analysis/Data_Restructurator_Unit.h"
#include "cli/Cli.h"

namespace {

int RunSplit(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("split", "expects one TEXT");
    const TLineRef line = TTextManager().SplitLine(Utf8ToAnsi(args[0]));
    for (const auto& word : line->fWords)
        std::printf("%d\t%d\t%d\t%d\t%s\n", word->fClass, word->fStartPos, word->fEndPos,
                    word->fLength, AnsiToUtf8(word->fText).c_str());
    return 0;
}

}  // namespace

KAVELIN_SUBCOMMAND("split", "TEXT",
                   "the words of TEXT by character class, one per line: class, start, end, "
                   "length, text",
                   RunSplit);
