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
    if (JsonOutput()) {
        TJsonArray words;
        for (const auto& word : line->fWords)
            words.Append(TJsonObject()
                             .Set("class", word->fClass)
                             .Set("start", word->fStartPos)
                             .Set("end", word->fEndPos)
                             .Set("length", word->fLength)
                             .Set("text", AnsiToUtf8(word->fText)));
        PrintJson(TJsonObject().Set("words", words));
        return kExitDone;
    }
    for (const auto& word : line->fWords)
        std::printf("%d\t%d\t%d\t%d\t%s\n", word->fClass, word->fStartPos, word->fEndPos,
                    word->fLength, AnsiToUtf8(word->fText).c_str());
    return kExitDone;
}

}  // namespace

KAVELIN_SUBCOMMAND(
    "split", "TEXT", "the words of TEXT by character class", RunSplit,
    "Splits TEXT as the \"Data Restructurator\" page splits a line: each run of characters of "
    "one class is a word. One line per word, fields parted by a tab: class, start, end, length, "
    "text; positions count characters from 1 and end is one past the word.\n\n"
    "Classes:\n"
    "   0  letters and the space\n"
    "   1  punctuation\n"
    "   2  operators\n"
    "   3  digits\n"
    "  10  any other character\n"
    "  -1  the one empty word of an empty TEXT",
    true);
