// Fuzz entry of the data restructurator's reader: every line of a data file
// split into words, then the word under each position of the first line.
#pragma once

#include <string>

#include "Fuzz_Support.h"
#include "analysis/Data_Restructurator_Unit.h"

// Returns the number of words of all lines.
inline int32_t FuzzSplitLines(const std::string& bytes) {
    const TLineList lines = FuzzLines(bytes);
    TTextManager manager;
    int32_t words = 0;
    for (const std::string& text : lines.Lines()) {
        manager.AddLine(text);
        const TLine& line = *manager.fLines.back();
        FuzzRequire(!line.fWords.empty(), "every line has a word");
        std::string joined;
        int32_t next = 1;
        for (size_t w = 0; w < line.fWords.size(); ++w) {
            const TWord& word = *line.fWords[w];
            joined += word.fText;
            if (text.empty()) {
                FuzzRequire(word.fClass == -1 && word.fLength == 0, "the empty word");
                continue;
            }
            FuzzRequire(word.fLength > 0 && word.fLength == static_cast<int32_t>(word.fText.size()),
                        "word length");
            FuzzRequire(word.fStartPos == next && word.fEndPos == next + word.fLength,
                        "words follow each other");
            next = word.fEndPos;
            for (const char c : word.fText)
                FuzzRequire(manager.CharClass(c) == word.fClass, "one class a word");
            if (w > 0) FuzzRequire(line.fWords[w - 1]->fClass != word.fClass, "runs are whole");
            FuzzRequire(line.IndexOfWord(&word) == static_cast<int32_t>(w), "index of a word");
        }
        FuzzRequire(joined == text, "the words make the line");
        words += static_cast<int32_t>(line.fWords.size());
    }
    if (!manager.fLines.empty()) {
        const int32_t currentBefore = CurrentLine;
        CurrentLine = 0;
        const std::string& first = lines.Lines()[0];
        for (int32_t pos = 0; pos <= static_cast<int32_t>(first.size()) + 1; ++pos) {
            const TWord* word = manager.GetTWordAtPosition(pos);
            const bool inside = pos >= 1 && pos <= static_cast<int32_t>(first.size());
            FuzzRequire((word != nullptr) == inside, "a word holds every position of the line");
            if (word) FuzzRequire(word->fStartPos <= pos && pos < word->fEndPos, "that word");
        }
        CurrentLine = currentBefore;
        TRestLine rest;
        rest.fLine = manager.fLines[0];
        FuzzRequire(rest.Matches(*manager.fLines[0]), "a line has its own shape");
    }
    return words;
}
