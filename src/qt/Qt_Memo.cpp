#include "qt/Qt_Memo.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>

#include "base/File_Io.h"
#include "diagnostics/TraceUnit.h"
#include "qt/Text_Codec.h"

namespace {

// A load fills the document a piece at a time, reporting between two pieces: a
// piece of lines numerous enough, or long enough, that the reports cost nothing
// beside the filling, and few enough that a stop is answered at once.
constexpr size_t kPieceLines = 32768;
constexpr size_t kPieceBytes = size_t(1) << 20;

// Appends `line` to `text` with its line breaks of any convention (CR LF, LF,
// CR) made the document's own (LF). The code page keeps CR and LF as the bytes
// they are.
void AppendWithBreaks(std::string& text, const std::string& line) {
    if (line.find('\r') == std::string::npos) {
        text += line;
        return;
    }
    for (size_t c = 0; c < line.size(); ++c)
        if (line[c] != '\r')
            text += line[c];
        else if (c + 1 == line.size() || line[c + 1] != '\n')
            text += '\n';
}

// Appends the lines from `first` to `last` to `text`, each after a line break
// but the first.
void AppendLines(std::string& text, const std::vector<std::string>& lines, size_t first,
                 size_t last) {
    size_t size = text.size() + last - first;
    for (size_t i = first; i < last; ++i) size += lines[i].size();
    text.reserve(size);
    for (size_t i = first; i < last; ++i) {
        if (i > first) text += '\n';
        AppendWithBreaks(text, lines[i]);
    }
}

// The end of the piece of lines that starts at `first`: one line at least.
size_t PieceEnd(const std::vector<std::string>& lines, size_t first) {
    size_t end = first;
    for (size_t bytes = 0; end < lines.size() && end - first < kPieceLines && bytes < kPieceBytes;
         ++end)
        bytes += lines[end].size() + 1;
    return end;
}

// The widget paints nothing for as long as this lives.
class TPaintsHeld {
  public:
    explicit TPaintsHeld(QWidget& widget) : fWidget(widget), fUpdates(widget.updatesEnabled()) {
        fWidget.setUpdatesEnabled(false);
    }
    ~TPaintsHeld() { fWidget.setUpdatesEnabled(fUpdates); }
    TPaintsHeld(const TPaintsHeld&) = delete;
    TPaintsHeld& operator=(const TPaintsHeld&) = delete;

  private:
    QWidget& fWidget;
    bool fUpdates;
};

QString WithDocumentBreaks(const std::string& line) {
    std::string text;
    text.reserve(line.size());
    AppendWithBreaks(text, line);
    return ToQt(text);
}

}  // namespace

// The document's undo history is off while the program edits: turning it off drops
// the steps kept so far, and edits made without it keep no copy of the text they
// remove. A memo that the program rewrites at every step, the trace first, stays
// the size of its lines; what the user types after a program edit can be undone.
// Program edits nest: the outermost one turns the history off and on again.
// A group holds no cursor of its own: each cursor on the document is moved at
// every change.
TMemo::TProgramEdit::TProgramEdit(TMemo& memo, bool grouped) : fMemo(memo), fGrouped(grouped) {
    if (fMemo.fProgramEdits++ == 0) {
        fMemo.fProgrammatic = true;
        fMemo.fModifiedBeforeProgramEdit = fMemo.document()->isModified();
        fMemo.document()->setUndoRedoEnabled(false);
    }
    if (grouped) QTextCursor(fMemo.document()).beginEditBlock();
}

TMemo::TProgramEdit::~TProgramEdit() {
    if (fGrouped) QTextCursor(fMemo.document()).endEditBlock();
    if (--fMemo.fProgramEdits == 0) {
        fMemo.document()->setUndoRedoEnabled(true);
        // What the program wrote is no typed edit, nor does it undo one.
        fMemo.document()->setModified(fMemo.fModifiedBeforeProgramEdit);
        fMemo.fProgrammatic = false;
    }
}

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab and Shift+Tab move the focus on, as in the classic memo: a tab typed
    // into a constraint text would break it.
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!fProgrammatic) fHasLines = !document()->isEmpty();
    });
}

int TMemo::Count() const {
    return fHasLines ? document()->blockCount() : 0;
}

std::string TMemo::Get(int index) const {
    if (index < 0 || index >= Count()) return std::string();
    return FromQt(document()->findBlockByNumber(index).text());
}

// The new line scrolls into view from its start, as the lines of a classic memo
// do.
void TMemo::Add(const std::string& line) {
    Append(line);
    ShowLastLine();
}

void TMemo::Append(const std::string& line) {
    const TProgramEdit edit(*this);
    const QString text = WithDocumentBreaks(line);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (fHasLines)
        cursor.insertText(QStringLiteral("\n") + text);
    else
        cursor.insertText(text);
    fHasLines = true;
}

void TMemo::ShowLastLine() {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
}

void TMemo::Delete(int index) {
    const int count = Count();
    if (index < 0 || index >= count) return;
    const TProgramEdit edit(*this);
    if (count == 1) {
        document()->clear();
        fHasLines = false;
    } else {
        QTextCursor cursor(document());
        const QTextBlock block = document()->findBlockByNumber(index);
        if (index < count - 1) {
            cursor.setPosition(block.position());
            cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
        } else {
            cursor.setPosition(block.previous().position() + block.previous().length() - 1);
            cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        }
        cursor.removeSelectedText();
    }
}

// The last line's text is replaced in one edit: the line count, and so the
// scroll bar, stay as they are.
void TMemo::ReplaceLast(const std::string& text) {
    const TProgramEdit edit(*this);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(WithDocumentBreaks(text));
}

void TMemo::DeleteFirst(int count) {
    if (count <= 0) return;
    if (count >= Count()) {
        Clear();
        return;
    }
    const TProgramEdit edit(*this);
    QTextCursor cursor(document());
    cursor.setPosition(0);
    cursor.setPosition(document()->findBlockByNumber(count).position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TMemo::Clear() {
    const TProgramEdit edit(*this);
    document()->clear();
    fHasLines = false;
}

// The lines are joined and decoded in one piece (Windows-1252 maps byte to
// character, line breaks included).
// A memo whose replacements are undoable is filled as a load is, as one undo
// step: the document then counts the new text as unmodified, the one before it
// as modified.
void TMemo::Assign(const std::vector<std::string>& lines) {
    if (fReplacementsUndoable && fProgramEdits == 0) {
        Assign(lines, NoProgress());
        return;
    }
    std::string joined;
    AppendLines(joined, lines, 0, lines.size());
    const TProgramEdit edit(*this);
    // Filled as setPlainText does, but through the document: the control's
    // setPlainText then sets the character format of the whole text once more,
    // a pass over every line that leaves the same text and formats. The cursor
    // returns to the start, and the view with it.
    document()->setPlainText(ToQt(joined));
    fModifiedBeforeProgramEdit = false;
    moveCursor(QTextCursor::Start);
    fHasLines = !lines.empty();
}

bool TMemo::LoadFromFile(const std::string& fileName, TProgress& progress) {
    return Assign(SplitLines(ReadFileBytes(fileName)), progress);
}

// The pieces go in as one edit block with the undo history on, whatever the
// memo: the block is one undo step, which a stop takes back, and the view is laid
// out once, when the block closes. A finished fill of a memo whose replacements
// are not undoable then drops the history, as Assign's program edit does. The
// memo's redo steps are lost at the first piece, as at any edit.
bool TMemo::Assign(const std::vector<std::string>& lines, TProgress& progress) {
    QTextDocument& doc = *document();
    const bool modified = doc.isModified();
    const bool undoEnabled = doc.isUndoRedoEnabled();
    const int undoSteps = undoEnabled ? doc.availableUndoSteps() : 0;
    const int anchor = textCursor().anchor();
    const int position = textCursor().position();
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    const bool programmatic = std::exchange(fProgrammatic, true);
    const TPaintsHeld paintsHeld(*this);

    doc.setUndoRedoEnabled(true);
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    bool stopped = false;
    std::string piece;
    for (size_t done = 0; done < lines.size();) {
        if (done > 0 && progress.Report(int64_t(done), int64_t(lines.size()))) {
            stopped = true;
            break;
        }
        const size_t end = PieceEnd(lines, done);
        piece.clear();
        if (done > 0) piece += '\n';
        AppendLines(piece, lines, done, end);
        cursor.insertText(ToQt(piece));
        done = end;
    }
    cursor.endEditBlock();

    if (!stopped) {
        if (!fReplacementsUndoable || fProgramEdits > 0) doc.clearUndoRedoStacks();
        doc.setUndoRedoEnabled(undoEnabled);
        doc.setModified(false);
        if (fProgramEdits > 0) fModifiedBeforeProgramEdit = false;
        fProgrammatic = programmatic;
        moveCursor(QTextCursor::Start);
        fHasLines = !lines.empty();
        return true;
    }
    if (doc.availableUndoSteps() > undoSteps) doc.undo();
    doc.clearUndoRedoStacks(QTextDocument::RedoStack);
    doc.setUndoRedoEnabled(undoEnabled);
    doc.setModified(modified);
    fProgrammatic = programmatic;
    QTextCursor previous(&doc);
    previous.setPosition(anchor);
    previous.setPosition(position, QTextCursor::KeepAnchor);
    setTextCursor(previous);
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
    Messenger.Send("Load interrupted");
    return false;
}

bool TMemo::HasTypedEdits() const {
    return document()->isModified();
}

void TMemo::MarkUnmodified() {
    document()->setModified(false);
}

std::vector<std::string> TMemo::ToVector() const {
    std::vector<std::string> lines;
    if (Count() == 0) return lines;
    // As QtLines reads them, without a list of the lines in between.
    const QString text = document()->toRawText();
    lines.reserve(size_t(Count()));
    for (qsizetype start = 0;;) {
        qsizetype end = text.indexOf(QChar::ParagraphSeparator, start);
        if (end < 0) end = text.size();
        lines.push_back(FromQt(QStringView(text).sliced(start, end - start)));
        if (end == text.size()) return lines;
        start = end + 1;
    }
}

void TMemo::ScrollToBottom() {
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

// Paints now what the changes since the last paint left to paint (the lines
// that changed, the scroll bar); the rest of the memo already shows its text.
void TMemo::Repaint() {
    QCoreApplication::sendPostedEvents(window(), QEvent::UpdateRequest);
}

// The document's raw text holds each block's text followed by a paragraph
// separator (none after the last), which no block's text contains: one pass
// over it, where asking for each block by its number searches the document's
// block tree anew.
QStringList TMemo::QtLines() const {
    if (Count() == 0) return {};
    return document()->toRawText().split(QChar::ParagraphSeparator);
}
