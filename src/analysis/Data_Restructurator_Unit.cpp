#include "analysis/Data_Restructurator_Unit.h"

#include "base/Real_Format.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Paths.h"

std::unique_ptr<TLineList> SourceLines;
int32_t CurrentLine = 0;
std::unique_ptr<TTextManager> TextManager;
std::unique_ptr<TRestManager> RestManager;
std::unique_ptr<TRestLine> CurrentRestLine;
TDataRestructurator* DataRestructurator = nullptr;

namespace {

const std::string kUnit = "Erreur : Data_Restructuration_Unit : ";

// Removes the character at 1-based `index`; nothing outside the text.
void DeleteChar(std::string& text, int32_t index) {
    if (index >= 1 && index <= static_cast<int32_t>(text.size()))
        text.erase(static_cast<size_t>(index - 1), 1);
}

// Inserts `c` so that it becomes the character at 1-based `index`; before the
// text below 1, after it beyond its end.
void InsertChar(std::string& text, char c, int32_t index) {
    const int32_t size = static_cast<int32_t>(text.size());
    const int32_t at = index < 1 ? 0 : (index > size + 1 ? size : index - 1);
    text.insert(static_cast<size_t>(at), 1, c);
}

void ReportWordNotFound(const std::string& operation, int32_t pos) {
    Messenger.Error(kUnit + "TTextManager." + operation + " Cursor Pos " + IntToStr(pos) +
                    " : Mot non reconnu");
}

}  // namespace

std::string RestructuratorDataFile() {
    return LocalPath(".\\Data\\DataRestructurator\\TestData\\aaa.txt");
}

// ---- lines and words ----

int32_t TLine::IndexOfWord(const TWord* word) const {
    for (size_t i = fWords.size(); i-- > 0;)
        if (fWords[i].get() == word) return static_cast<int32_t>(i);
    return -1;
}

TTextManager::TTextManager() {
    fAlphabets[0] =
        " abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
        "\xE9\xE8\xE7\xE0\xE2\xEA\xEE\xF4\xFB\xF9$\xA3&";
    fAlphabets[1] = ",?;.:!'\"(#{[_@])}";
    fAlphabets[2] = "*/+-=\xB2%<>";
    fAlphabets[3] = "0123456789";
}

void TTextManager::AddLine(const std::string& text) {
    fLines.push_back(SplitLine(text));
}

int32_t TTextManager::CharClass(char c) const {
    for (int32_t k = 0; k < kAlphabetCount; ++k)
        if (fAlphabets[k].find(c) != std::string::npos) return k;
    return 10;
}

TLineRef TTextManager::SplitLine(const std::string& text) const {
    auto line = std::make_shared<TLine>();
    int32_t wordClass = -1, start = 0, end = 0, length = 0;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        const int32_t j = static_cast<int32_t>(i) + 1;
        const int32_t k = CharClass(text[i]);
        if (k == wordClass) {
            current += text[i];
            ++end;
            ++length;
        } else {
            if (length != 0)
                line->fWords.push_back(
                    std::make_unique<TWord>(wordClass, current, start, end, length));
            wordClass = k;
            current.assign(1, text[i]);
            start = j;
            end = j + 1;
            length = 1;
        }
    }
    // The last word goes in whatever it holds: an empty line keeps one empty word.
    line->fWords.push_back(std::make_unique<TWord>(wordClass, current, start, end, length));
    return line;
}

const TWord* TTextManager::GetTWordAtPosition(int32_t pos) const {
    if (CurrentLine >= 0 && CurrentLine < static_cast<int32_t>(fLines.size()))
        for (const auto& word : fLines[static_cast<size_t>(CurrentLine)]->fWords)
            if (word->fStartPos <= pos && pos < word->fEndPos) return word.get();
    ReportWordNotFound("GetTWordAtPosition", pos);
    return nullptr;
}

bool TTextManager::GetWordAtPosition(int32_t pos, int32_t& start, int32_t& end) const {
    if (CurrentLine >= 0 && CurrentLine < static_cast<int32_t>(fLines.size()))
        for (const auto& word : fLines[static_cast<size_t>(CurrentLine)]->fWords)
            if (word->fStartPos <= pos && pos < word->fEndPos) {
                start = word->fStartPos;
                end = word->fEndPos;
                return true;
            }
    ReportWordNotFound("GetWordAtPosition", pos);
    return false;
}

// ---- rest lines ----

bool TRestLine::Matches(const TLine& line) const {
    if (fLine->fWords.size() != line.fWords.size()) return false;
    for (size_t i = 0; i < line.fWords.size(); ++i)
        if (fLine->fWords[i]->fClass != line.fWords[i]->fClass) return false;
    return true;
}

int32_t TRestManager::FindMatching(const TLine& line) const {
    for (size_t i = fRestLines.size(); i-- > 0;)
        if (fRestLines[i]->Matches(line)) return static_cast<int32_t>(i);
    return -1;
}

// ---- the restructurator ----

TDataRestructurator::TDataRestructurator() {
    SourceLines = std::make_unique<TLineList>();
    CurrentLine = 0;
    TextManager.reset();
    RestManager.reset();
    CurrentRestLine.reset();
}

bool TDataRestructurator::HasDisplay(const char* operation) const {
    if (fDisplay) return true;
    Messenger.Error(kUnit + "TDataRestructurator." + operation +
                    " : Pas d'affichage (cliquer Init d'abord)");
    return false;
}

void TDataRestructurator::Load() {
    if (!HasDisplay("Load")) return;
    SourceLines = std::make_unique<TLineList>();
    SourceLines->LoadFromFile(RestructuratorDataFile());
    TextManager = std::make_unique<TTextManager>();
    for (const std::string& line : SourceLines->Lines()) TextManager->AddLine(line);
    CurrentLine = 0;
    fDisplay->Lines().Clear();
    if (SourceLines->Count() >= 1) fDisplay->Lines().Add(SourceLines->Get(0));
    RestManager = std::make_unique<TRestManager>();
}

void TDataRestructurator::MarkWordAt(IRichEdit*, TMouseButton, TShiftState, int32_t, int32_t) {
    if (!HasDisplay("MarkWordAt")) return;
    const int32_t caret = fDisplay->SelStart();
    Messenger.Send("Mouse Down - Cursor Position : ");
    Messenger.SendInt(caret);
    if (!TextManager) {
        Messenger.Error(kUnit +
                        "TDataRestructurator.MarkWordAt : Pas de donn\xE9"
                        "es (Load)");
        return;
    }

    std::string text = fDisplay->Text();
    int32_t pos = caret;
    if (pos >= static_cast<int32_t>(text.size())) --pos;

    // Take the markers away, and bring the caret position, taken on the marked
    // text, onto the unmarked one.
    if (TextManager->fMarked) {
        int32_t s = 0, e = 0;
        if (TextManager->GetWordAtPosition(TextManager->fLastPos, s, e)) {
            DeleteChar(text, s);
            DeleteChar(text, e);
            fDisplay->SetText(text);
            if (pos > s) --pos;
            if (pos > e) --pos;
        }
    }

    TextManager->fMarked = true;
    TextManager->fLastPos = pos;
    int32_t s = 0, e = 0;
    if (!TextManager->GetWordAtPosition(pos, s, e)) {
        TextManager->fMarked = false;
        return;
    }
    InsertChar(text, '>', e);
    InsertChar(text, '<', s);
    fDisplay->SetText(text);
    fDisplay->Lines().Repaint();
}

bool TDataRestructurator::AddData(const std::string&) {
    if (!TextManager) {
        Messenger.Error(kUnit +
                        "TDataRestructurator.AddData : Pas de donn\xE9"
                        "es (Load)");
        return false;
    }
    const TWord* word = TextManager->GetTWordAtPosition(TextManager->fLastPos);
    if (!word) return false;
    if (CurrentRestLine && CurrentRestLine->fCount >= TRestLine::kSlotCount) {
        Messenger.Error(kUnit +
                        "TDataRestructurator.AddData : Ligne restructur\xE9"
                        "e pleine (" +
                        IntToStr(TRestLine::kSlotCount) + " mots)");
        return false;
    }
    if (!CurrentRestLine) CurrentRestLine = std::make_unique<TRestLine>();
    CurrentRestLine->fLine = TextManager->fLines[static_cast<size_t>(CurrentLine)];
    ++CurrentRestLine->fCount;
    CurrentRestLine->fWordIndices[static_cast<size_t>(CurrentRestLine->fCount)] =
        CurrentRestLine->fLine->IndexOfWord(word);
    return true;
}

void TDataRestructurator::NextLine() {
    if (!HasDisplay("NextLine")) return;
    // A rest line with words exists only after a load, which made the rest manager.
    if (CurrentRestLine && CurrentRestLine->fCount != 0)
        RestManager->fRestLines.push_back(std::move(CurrentRestLine));

    const int32_t count = SourceLines->Count();
    if (CurrentLine < count - 1) ++CurrentLine;
    while (CurrentLine < count - 1 &&
           RestManager->FindMatching(*TextManager->fLines[static_cast<size_t>(CurrentLine)]) != -1)
        ++CurrentLine;

    if (TextManager) TextManager->fMarked = false;
    fDisplay->Lines().Clear();
    fDisplay->Lines().Add(CurrentLine < count ? SourceLines->Get(CurrentLine) : std::string("END"));
}
