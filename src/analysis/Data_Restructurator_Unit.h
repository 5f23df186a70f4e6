// Data_Restructurator_Unit: restructures a text data file line by line. Every
// line is split into words, a word being a run of characters of one character
// class (letters with the space, punctuation, operators, digits, anything else).
// The current line is shown in a rich edit; a click marks the word under the
// caret between "<" and ">"; "Add Data" records the marked word's position in a
// restructured line and moves on, skipping the lines whose shape (their sequence
// of word classes) matches a line already restructured.
//
// Texts are Windows-1252 bytes; positions in a line count from 1.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Line_List.h"
#include "platform/Rich_Edit.h"

class TWord {
  public:
    TWord(int32_t wordClass, std::string text, int32_t startPos, int32_t endPos, int32_t length)
        : fText(std::move(text)),
          fStartPos(startPos),
          fEndPos(endPos),
          fLength(length),
          fClass(wordClass) {}

    std::string fText;
    int32_t fStartPos;  // of its first character
    int32_t fEndPos;    // one past its last character
    int32_t fLength;
    int32_t fClass;  // 0 to 3: an alphabet; 10: none; -1: the empty word of an empty line
};

class TLine {
  public:
    // The position from 0 of that very word object (the last one if it were held
    // twice), or -1.
    int32_t IndexOfWord(const TWord* word) const;

    std::vector<std::unique_ptr<TWord>> fWords;
};

// Rest lines keep the line they were built on alive even when a reload replaces
// the text manager that made it.
using TLineRef = std::shared_ptr<const TLine>;

class TTextManager {
  public:
    static constexpr int kAlphabetCount = 10;

    TTextManager();

    void AddLine(const std::string& text);
    // The first of the ten alphabets that holds C; 10 when none does.
    int32_t CharClass(char c) const;
    TLineRef SplitLine(const std::string& text) const;
    // The first word of line CurrentLine with fStartPos <= Pos < fEndPos; none,
    // reported, when no word holds Pos.
    const TWord* GetTWordAtPosition(int32_t pos) const;
    // That word's start and end; false, reported, when there is none.
    bool GetWordAtPosition(int32_t pos, int32_t& start, int32_t& end) const;

    std::vector<TLineRef> fLines;
    std::array<std::string, kAlphabetCount> fAlphabets;
    int32_t fLastPos = -1;
    bool fMarked = false;
};

class TRestLine {
  public:
    static constexpr int32_t kSlotCount = 101;

    // Same number of words and, position by position, the same classes.
    bool Matches(const TLine& line) const;

    TLineRef fLine;
    // Slots 1 to 101 (entry 0 unused): positions from 0 in fLine's words.
    std::array<int32_t, kSlotCount + 1> fWordIndices{};
    int32_t fCount = 0;
};

class TRestManager {
  public:
    // The index of the last recorded rest line that matches `line`, or -1.
    int32_t FindMatching(const TLine& line) const;

    std::vector<std::unique_ptr<TRestLine>> fRestLines;
};

// The data file that Load reads.
std::string RestructuratorDataFile();

class TDataRestructurator {
  public:
    // Starts the unit's state afresh: no source lines, line 0, no text manager,
    // no rest manager, no rest line under construction.
    TDataRestructurator();

    void SetDisplay(IRichEdit* richEdit) { fDisplay = richEdit; }
    // Reads the data file (raising EFileError when it cannot be read, after
    // SourceLines has become empty), splits every line and shows line 0.
    void Load();
    // Marks the word left of the display's caret; the event's values play no part.
    void MarkWordAt(IRichEdit* sender, TMouseButton button, TShiftState shift, int32_t x,
                    int32_t y);
    // Records the marked word's position in the rest line under construction.
    // False, reported, when nothing was recorded: no data loaded, no marked word,
    // or a rest line already holding its 101 positions. `text` plays no part.
    bool AddData(const std::string& text);
    // Records the rest line under construction and shows the next line of a new
    // shape (the last line is shown without that test), or "END" when there are
    // no lines.
    void NextLine();

    // Before SetDisplay, Load, MarkWordAt and NextLine report it and do nothing.
    IRichEdit* fDisplay = nullptr;

  private:
    bool HasDisplay(const char* operation) const;
};

// The unit's process-wide state.
extern std::unique_ptr<TLineList> SourceLines;
extern int32_t CurrentLine;
extern std::unique_ptr<TTextManager> TextManager;
extern std::unique_ptr<TRestManager> RestManager;
extern std::unique_ptr<TRestLine> CurrentRestLine;
// The one restructurator of the main window, which makes and owns it; nullptr
// while there is none.
extern TDataRestructurator* DataRestructurator;
