#include "app/Trace_Form.h"

#include <QFile>
#include <algorithm>
#include <functional>
#include <utility>

#include "diagnostics/TraceUnit.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Design_Layout.h"
#include "qt/Qt_File_Dialog.h"
#include "qt/Qt_Message_Box.h"
#include "qt/Qt_Status_Bar.h"
#include "qt/Text_Codec.h"

TTraceForm* TraceForm = nullptr;

TTraceForm::TTraceForm() {
    SetUpWindow(this, "TraceForm", QStringLiteral("Trace"), QRect(697, 117, 326, 582));
    setAttribute(Qt::WA_QuitOnClose, false);
    MakeLabel(this, "Suivi1_Label", QStringLiteral("suivi 1"), {8, 8});
    MakeLabel(this, "suivi2_Label", QStringLiteral("suivi 2"), {152, 8});
    MakeLabel(this, "Suivi3_Label", QStringLiteral("suivi 3"), {240, 8});
    MakeLabel(this, "Suivi4_Label", QStringLiteral("suivi 4"), {8, 32});
    MakeLabel(this, "Suivi5_Label", QStringLiteral("suivi 5"), {152, 32});
    MakeLabel(this, "Suivi6_Label", QStringLiteral("suivi 6"), {264, 32});
    MakeLabel(this, "Suivi7_Label", QStringLiteral("suivi 7"), {8, 56});
    MakeLabel(this, "Suivi8_Label", QStringLiteral("suivi 8"), {152, 56});
    MakeLabel(this, "Suivi9_Label", QStringLiteral("suivi 9"), {256, 64});
    RichEdit1 = MakeMemo(this, "RichEdit1", QRect(8, 96, 297, 441), TScrollBars::Both);
    // The labels keep their places; the trace takes every pixel the window gains.
    (new TDesignLayout(this))->Follow(RichEdit1, {0, 1, 0, 1});
    MakeContextMenu();
    FormCreate();
}

namespace {

QAction* MakeAction(QWidget* owner, const char* name, const QString& text,
                    std::function<void()> handler) {
    auto* action = new QAction(text, owner);
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, owner, [text, handler = std::move(handler)] {
        RunGuarded(handler, "handling the menu item \"" + FromQt(text) + "\"");
    });
    owner->addAction(action);
    return action;
}

}  // namespace

// The rich edit's menu is its four actions, in place of the editor's own (whose
// undo, cut and paste a trace has no use for). Copy and Select All keep the
// editor's keys, which the editor answers itself.
void TTraceForm::MakeContextMenu() {
    RichEdit1->setContextMenuPolicy(Qt::ActionsContextMenu);
    Trace_Copy_Action = MakeAction(RichEdit1, "Trace_Copy_Action", QStringLiteral("&Copy"),
                                   [this] { RichEdit1->copy(); });
    Trace_Copy_Action->setShortcut(QKeySequence::Copy);
    Trace_Copy_Action->setShortcutContext(Qt::WidgetShortcut);
    Trace_Copy_Action->setEnabled(false);
    connect(RichEdit1, &QPlainTextEdit::copyAvailable, Trace_Copy_Action, &QAction::setEnabled);
    Trace_SelectAll_Action =
        MakeAction(RichEdit1, "Trace_SelectAll_Action", QStringLiteral("Select &All"),
                   [this] { RichEdit1->selectAll(); });
    Trace_SelectAll_Action->setShortcut(QKeySequence::SelectAll);
    Trace_SelectAll_Action->setShortcutContext(Qt::WidgetShortcut);
    auto* separator = new QAction(RichEdit1);
    separator->setSeparator(true);
    RichEdit1->addAction(separator);
    Trace_SaveAs_Action =
        MakeAction(RichEdit1, "Trace_SaveAs_Action", QStringLiteral("&Save As..."),
                   [this] { Trace_SaveAs_ActionClick(); });
    Trace_Clear_Action = MakeAction(RichEdit1, "Trace_Clear_Action", QStringLiteral("C&lear"),
                                    [this] { Trace_Clear_ActionClick(); });
}

void TTraceForm::Trace_SaveAs_ActionClick() {
    TFileDialog dialog(this, QStringLiteral("Trace_SaveDialog"), TFileDialog::Kind::Save);
    dialog.SetTitle(QStringLiteral("Trace file to write"));
    dialog.SetFilter(QStringLiteral("Text files (*.txt);;All files (*)"));
    if (!dialog.Execute()) return;
    TLineList(fText->ToVector()).SaveToFile(QFile::encodeName(dialog.FileName()).toStdString());
    ProgramStatus::Say(QStringLiteral("Trace saved to ") + dialog.FileName());
}

void TTraceForm::Trace_Clear_ActionClick() {
    fText->Clear();
}

TTraceForm::~TTraceForm() {
    Messenger.AttachTrace(nullptr);
}

void TTraceForm::FormCreate() {
    hide();
    fText = std::make_unique<TTraceText>(*RichEdit1);
    Messenger.AttachTrace(fText.get());
    show();
}

TTraceText::TTraceText(TMemo& memo) : fMemo(memo), fFrame(&memo, [this] { ShowPending(); }) {}

// The trace's lines are the rich edit's (less the last one when it is being
// replaced) followed by the lines kept aside, less the first fTrimmed of them.
int TTraceText::Shown() const {
    return fMemo.Count() - (fReplacing ? 1 : 0);
}

int TTraceText::Count() const {
    if (fHolding) return fHeld.Count();
    return Shown() + static_cast<int>(fPending.size()) - fTrimmed;
}

std::string TTraceText::Get(int index) const {
    if (index < 0 || index >= Count()) return std::string();
    if (fHolding) return fHeld.Get(index);
    const int at = index + fTrimmed;
    const int shown = Shown();
    return at < shown ? fMemo.Get(at) : fPending[static_cast<size_t>(at - shown)];
}

namespace {

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

std::vector<std::string> TTraceText::ToVector() const {
    if (fHolding) return fHeld.Lines();
    std::vector<std::string> lines = fMemo.ToVector();
    if (fReplacing && !lines.empty()) lines.pop_back();
    lines.insert(lines.end(), fPending.begin(), fPending.end());
    lines.erase(lines.begin(), lines.begin() + std::min<ptrdiff_t>(fTrimmed, std::ssize(lines)));
    return lines;
}

// A change made at once: to the held trace while it is held, otherwise to the
// rich edit itself, after what is kept aside. While paced, it is scrolled to and
// painted with the next frame.
template <class Change>
void TTraceText::ChangeNow(Change change) {
    if (fHolding) {
        change(static_cast<ITextDisplay&>(fHeld));
    } else {
        if (fPaced)
            WritePending();
        else
            ShowPending();
        change(static_cast<ITextDisplay&>(fMemo));
    }
    if (fPaced) AwaitFrame();
}

// A text of several lines goes in at once, in its place after what is kept aside.
void TTraceText::Add(const std::string& line) {
    if (fHolding || !fPaced || HasLineBreak(line)) {
        ChangeNow([&](ITextDisplay& trace) { trace.Add(line); });
        return;
    }
    fPending.push_back(line);
    if (fPending.size() > kHoldAbove) Hold();
    Keep();
}

void TTraceText::ReplaceLast(const std::string& text) {
    if (fHolding || !fPaced || HasLineBreak(text) || Count() == 0) {
        ChangeNow([&](ITextDisplay& trace) { trace.ReplaceLast(text); });
        return;
    }
    if (fPending.empty()) {
        fReplacing = true;
        fPending.push_back(text);
    } else {
        fPending.back() = text;
    }
    Keep();
}

void TTraceText::Delete(int index) {
    ChangeNow([&](ITextDisplay& trace) { trace.Delete(index); });
}

void TTraceText::DeleteFirst(int count) {
    if (fHolding || !fPaced) {
        ChangeNow([&](ITextDisplay& trace) { trace.DeleteFirst(count); });
        return;
    }
    count = std::min(count, Count());
    if (count <= 0) return;
    fTrimmed += count;
    Keep();
}

void TTraceText::Clear() {
    fFrame.RunningNow();
    fPending.clear();
    fTrimmed = 0;
    fReplacing = false;
    fUnpainted = false;
    if (fHolding) {
        fHolding = false;
        fHeld.Clear();
        fMemo.setReadOnly(false);
    }
    fMemo.Clear();
}

// Lines waiting for the frame are scrolled to and painted with it.
void TTraceText::ScrollToBottom() {
    if (!Waiting()) fMemo.ScrollToBottom();
}

void TTraceText::Repaint() {
    if (!Waiting()) fMemo.Repaint();
}

bool TTraceText::Waiting() const {
    return !fPending.empty() || fTrimmed > 0 || fUnpainted;
}

void TTraceText::Keep() {
    fFrame.Request();
}

void TTraceText::ShowPending() {
    fFrame.RunningNow();
    if (fHolding) {
        ShowHeld();
        return;
    }
    WritePending();
    if (!fUnpainted) return;
    fUnpainted = false;
    fMemo.ScrollToBottom();
    fMemo.Repaint();
}

// What was kept aside reaches the rich edit as one grouped change, laid out and
// painted once: since lines are only trimmed from the start and added at the
// end, the trims go first, all at once, then the replaced last line, then the
// added lines as one text. A line sent while the rich edit changes (from a
// handler of its change) is kept for later.
void TTraceText::WritePending() {
    if (fPending.empty() && fTrimmed == 0) return;
    fUnpainted = true;
    const std::vector<std::string> pending = std::exchange(fPending, {});
    const bool replacing = std::exchange(fReplacing, false);
    const int trimmed = std::exchange(fTrimmed, 0);
    // The trims reach past the rich edit's lines into those kept aside.
    const int shown = fMemo.Count() - (replacing ? 1 : 0);
    const bool allGo = trimmed > shown || (trimmed == shown && !replacing);
    size_t first = allGo ? static_cast<size_t>(trimmed - shown) : replacing ? 1 : 0;
    if (allGo) fMemo.Clear();
    {
        const TMemo::TProgramEdit group(fMemo, true);
        if (!allGo) {
            fMemo.DeleteFirst(trimmed);
            if (replacing) fMemo.ReplaceLast(pending.front());
        }
        if (first < pending.size()) {
            size_t length = 0;
            for (size_t i = first; i < pending.size(); ++i) length += pending[i].size() + 1;
            std::string added;
            added.reserve(length);
            for (size_t i = first; i < pending.size(); ++i) {
                if (i > first) added += '\n';
                added += pending[i];
            }
            fMemo.Append(added);
        }
    }
    if (first < pending.size()) fMemo.ShowLastLine();
}

void TTraceText::SetPaced(bool paced) {
    fPaced = paced;
    if (!paced && fHolding) Release();
    if (!paced) ShowPending();
}

// The rich edit's lines with what was kept aside become the held trace.
void TTraceText::Hold() {
    fHeld.Assign(ToVector());
    fPending.clear();
    fTrimmed = 0;
    fReplacing = false;
    fHolding = true;
    fMemo.setReadOnly(true);
    AwaitFrame();
}

// The rich edit shows a change with the next frame.
void TTraceText::AwaitFrame() {
    fUnpainted = true;
    Keep();
}

// The frame of a held trace: the rich edit shows its newest lines, scrolled to.
void TTraceText::ShowHeld() {
    if (!fUnpainted) return;
    fUnpainted = false;
    const std::vector<std::string>& lines = fHeld.Lines();
    const size_t shown = std::min<size_t>(lines.size(), kShownWhileHeld);
    fMemo.Assign(
        std::vector<std::string>(lines.end() - static_cast<ptrdiff_t>(shown), lines.end()));
    fMemo.ShowLastLine();
    fMemo.Repaint();
}

// The whole trace back into the rich edit, to be scrolled and painted.
void TTraceText::Release() {
    fHolding = false;
    fMemo.Assign(fHeld.Lines());
    fHeld.Clear();
    fMemo.setReadOnly(false);
    fUnpainted = true;
}
