// The data restructurator's words and shapes: character classes (every
// character of each alphabet, the last ones included), the split of a line into
// words, the shape match between lines, and what the operations do before "Init"
// and before the first "&Load". The display-driven behaviour is tested on the
// page (tests/app/Network_pages_test.cpp).
#include <gtest/gtest.h>

#include "analysis/Data_Restructurator_Unit.h"
#include "support/Trace_Capture.h"

namespace {

struct TWordView {
    int32_t fClass, fStart, fEnd, fLength;
    std::string fText;
    bool operator==(const TWordView&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TWordView& w) {
    return out << "{" << w.fClass << ", " << w.fStart << ", " << w.fEnd << ", " << w.fLength
               << ", \"" << w.fText << "\"}";
}

std::vector<TWordView> Split(const std::string& text) {
    std::vector<TWordView> words;
    const TLineRef line = TTextManager().SplitLine(text);
    for (const auto& w : line->fWords)
        words.push_back({w->fClass, w->fStartPos, w->fEndPos, w->fLength, w->fText});
    return words;
}

}  // namespace

TEST(Restructurator, EveryCharacterOfAnAlphabetHasItsClass) {
    const TTextManager manager;
    for (int k = 0; k < 4; ++k)
        for (const char c : manager.fAlphabets[size_t(k)]) EXPECT_EQ(manager.CharClass(c), k) << c;
    for (int k = 4; k < 10; ++k) EXPECT_TRUE(manager.fAlphabets[size_t(k)].empty());
    EXPECT_EQ(manager.fAlphabets[0].size(), 66u);
    EXPECT_EQ(manager.fAlphabets[1].size(), 17u);
    EXPECT_EQ(manager.fAlphabets[2], "*/+-=\xB2%<>");
    // The euro sign, tab, NUL, capital accented letters and the degree sign are
    // in no alphabet.
    for (const char c : std::string("\x80\t\0\xC9\xB0~", 6)) EXPECT_EQ(manager.CharClass(c), 10);
    EXPECT_EQ(manager.CharClass('\xA3'), 0);
    EXPECT_EQ(manager.CharClass('&'), 0);
    EXPECT_EQ(manager.CharClass('}'), 1);
    EXPECT_EQ(manager.CharClass('"'), 1);
}

TEST(Restructurator, LinesSplitIntoRunsOfOneClass) {
    EXPECT_EQ(Split("John Smith"), (std::vector<TWordView>{{0, 1, 11, 10, "John Smith"}}));
    EXPECT_EQ(Split("Prix: 12,50 \x80"), (std::vector<TWordView>{{0, 1, 5, 4, "Prix"},
                                                                 {1, 5, 6, 1, ":"},
                                                                 {0, 6, 7, 1, " "},
                                                                 {3, 7, 9, 2, "12"},
                                                                 {1, 9, 10, 1, ","},
                                                                 {3, 10, 12, 2, "50"},
                                                                 {0, 12, 13, 1, " "},
                                                                 {10, 13, 14, 1, "\x80"}}));
    EXPECT_EQ(Split("ab12"), (std::vector<TWordView>{{0, 1, 3, 2, "ab"}, {3, 3, 5, 2, "12"}}));
    EXPECT_EQ(Split("1999"), (std::vector<TWordView>{{3, 1, 5, 4, "1999"}}));
    EXPECT_EQ(Split(""), (std::vector<TWordView>{{-1, 0, 0, 0, ""}}));
    // Punctuation runs stay one word whatever the characters; so do unknown ones.
    EXPECT_EQ(Split("?!..\x80\x80"),
              (std::vector<TWordView>{{1, 1, 5, 4, "?!.."}, {10, 5, 7, 2, "\x80\x80"}}));
    EXPECT_EQ(Split("caf\xE9 \xE0 2\xB2"),
              (std::vector<TWordView>{
                  {0, 1, 8, 7, "caf\xE9 \xE0 "}, {3, 8, 9, 1, "2"}, {2, 9, 10, 1, "\xB2"}}));
}

TEST(Restructurator, ShapesMatchByWordClassesOnly) {
    TTextManager manager;
    manager.AddLine("Prix: 12,50 \x80");
    manager.AddLine("Taxe: 3,20 \x80");
    manager.AddLine("Total: 7,10 $");
    TRestManager rest;
    EXPECT_EQ(rest.FindMatching(*manager.fLines[0]), -1);
    for (int i = 0; i < 2; ++i) {
        rest.fRestLines.push_back(std::make_unique<TRestLine>());
        rest.fRestLines.back()->fLine = manager.fLines[0];
    }
    EXPECT_TRUE(rest.fRestLines[0]->Matches(*manager.fLines[1]));
    EXPECT_FALSE(rest.fRestLines[0]->Matches(*manager.fLines[2]));
    EXPECT_EQ(rest.FindMatching(*manager.fLines[1]), 1);  // the last one that matches
    EXPECT_EQ(rest.FindMatching(*manager.fLines[2]), -1);

    const TLine& line = *manager.fLines[0];
    EXPECT_EQ(line.IndexOfWord(line.fWords[3].get()), 3);
    EXPECT_EQ(line.IndexOfWord(manager.fLines[1]->fWords[3].get()), -1);
}

TEST(Restructurator, OperationsBeforeInitOrLoadReportAndDoNothing) {
    TTraceCapture capture;
    TDataRestructurator restructurator;
    restructurator.Load();
    restructurator.MarkWordAt(nullptr, TMouseButton::mbLeft, 0, 0, 0);
    restructurator.NextLine();
    const std::string noDisplay = " : Pas d'affichage (cliquer Init d'abord)";
    EXPECT_EQ(
        capture.Boxes(),
        (std::vector<std::string>{
            "*ERROR*Erreur : Data_Restructuration_Unit : TDataRestructurator.Load" + noDisplay,
            "*ERROR*Erreur : Data_Restructuration_Unit : TDataRestructurator.MarkWordAt" +
                noDisplay,
            "*ERROR*Erreur : Data_Restructuration_Unit : TDataRestructurator.NextLine" +
                noDisplay}));
    EXPECT_EQ(SourceLines->Count(), 0);
    EXPECT_EQ(TextManager, nullptr);

    capture.Reset();
    EXPECT_FALSE(restructurator.AddData("x"));
    EXPECT_EQ(capture.Boxes(),
              (std::vector<std::string>{"*ERROR*Erreur : Data_Restructuration_Unit : "
                                        "TDataRestructurator.AddData : Pas de donn\xE9"
                                        "es (Load)"}));
    EXPECT_EQ(CurrentRestLine, nullptr);
}
