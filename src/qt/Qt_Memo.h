// The memo and the plain-text rich edit: a QPlainTextEdit whose content is a line
// list (Windows-1252 lines on the engine side). Lines with embedded line breaks
// occupy several lines, as the control counts them.
#pragma once

#include <QPlainTextEdit>

#include "base/Progress.h"
#include "platform/Text_Display.h"

class TMemo : public QPlainTextEdit, public ITextDisplay {
    Q_OBJECT
  public:
    explicit TMemo(QWidget* parent = nullptr);

    int Count() const override;
    std::string Get(int index) const override;
    void Add(const std::string& line) override;
    // Add without the scroll: the text's lines go at the end.
    void Append(const std::string& text);
    // Scrolls the last line into view from its start, as Add does.
    void ShowLastLine();
    void Delete(int index) override;
    void Clear() override;
    void Assign(const std::vector<std::string>& lines) override;
    // Fills the memo with the lines in pieces, reporting the lines put in so far
    // out of all between two pieces. Run to its end, the memo is as Assign leaves
    // it. When `progress` asks for a stop, the memo gets back its text, cursor,
    // scrolling, undo history and modified flag as they were, the trace gets
    // "Load interrupted", and the answer is false. The memo itself does not paint
    // meanwhile.
    bool Assign(const std::vector<std::string>& lines, TProgress& progress);
    using TLines::LoadFromFile;
    // Reads the file as TLines::LoadFromFile does, then Assign with `progress`. A
    // file that cannot be read raises EFileError, the memo untouched.
    bool LoadFromFile(const std::string& fileName, TProgress& progress);
    std::vector<std::string> ToVector() const override;
    void DeleteFirst(int count) override;
    void ReplaceLast(const std::string& text) override;
    void ScrollToBottom() override;
    void Repaint() override;

    QStringList QtLines() const;

    // A memo that holds the person's work: each replacement of its whole text by
    // the program (Assign, LoadFromFile) is one step of its undo history, so that
    // Ctrl+Z brings the previous text back. Off by default: the trace and the
    // result memos keep no history of the program's edits.
    void SetReplacementsUndoable(bool undoable) { fReplacementsUndoable = undoable; }
    // Whether the text holds edits the person made (typing, undo, redo) since
    // the program last replaced it or marked it unmodified.
    bool HasTypedEdits() const;
    // The text is the person's saved or used work from now on: no typed edit.
    void MarkUnmodified();

    // An edit by the program, for as long as it lives: the edits made keep no undo
    // step; grouped, they reach the view as one change when it ends, so a run of
    // them is laid out and painted once.
    class TProgramEdit {
      public:
        explicit TProgramEdit(TMemo& memo, bool grouped = false);
        ~TProgramEdit();
        TProgramEdit(const TProgramEdit&) = delete;
        TProgramEdit& operator=(const TProgramEdit&) = delete;

      private:
        TMemo& fMemo;
        bool fGrouped;
    };

  private:
    int fProgramEdits = 0;
    // An empty document is either no line at all or one empty line; this tells
    // which. Edits by the user keep it in step with the document.
    bool fHasLines = false;
    bool fProgrammatic = false;
    bool fReplacementsUndoable = false;
    bool fModifiedBeforeProgramEdit = false;
};
