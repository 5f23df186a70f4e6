#include "app/Trace_Form.h"

#include <utility>

#include "diagnostics/TraceUnit.h"
#include "qt/Qt_Controls.h"

TTraceForm* TraceForm = nullptr;

TTraceForm::TTraceForm() {
    SetUpWindow(this, "TraceForm", QStringLiteral("       "), QRect(697, 117, 326, 582));
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
    TraceForm = this;
    FormCreate();
}

TTraceForm::~TTraceForm() {
    Messenger.AttachTrace(nullptr);
    if (TraceForm == this) TraceForm = nullptr;
}

void TTraceForm::FormCreate() {
    hide();
    fText = std::make_unique<TTraceText>(*RichEdit1);
    Messenger.AttachTrace(fText.get());
    show();
}

TTraceText::TTraceText(TMemo& memo) : fMemo(memo) {
    fFrame.setSingleShot(true);
    fFrame.setInterval(kFrameMilliseconds);
    QObject::connect(&fFrame, &QTimer::timeout, &memo, [this] { ShowPending(); });
}

int TTraceText::Count() const {
    return fMemo.Count() - (fReplacing ? 1 : 0) + static_cast<int>(fPending.size());
}

std::string TTraceText::Get(int index) const {
    const int shown = fMemo.Count() - (fReplacing ? 1 : 0);
    if (index >= shown && index < Count()) return fPending[static_cast<size_t>(index - shown)];
    return fMemo.Get(index);
}

namespace {

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

// A text of several lines goes in at once.
void TTraceText::Add(const std::string& line) {
    if (!fPaced || HasLineBreak(line)) {
        ShowPending();
        fMemo.Add(line);
        return;
    }
    fPending.push_back(line);
    Keep();
}

void TTraceText::ReplaceLast(const std::string& text) {
    if (!fPaced || HasLineBreak(text) || Count() == 0) {
        ShowPending();
        fMemo.ReplaceLast(text);
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

void TTraceText::Keep() {
    if (!fFrame.isActive()) fFrame.start();
}

void TTraceText::Delete(int index) {
    ShowPending();
    fMemo.Delete(index);
}

void TTraceText::Clear() {
    fFrame.stop();
    fPending.clear();
    fReplacing = false;
    fMemo.Clear();
}

void TTraceText::DeleteFirst(int count) {
    ShowPending();
    fMemo.DeleteFirst(count);
}

void TTraceText::ScrollToBottom() {
    if (fPending.empty()) fMemo.ScrollToBottom();
}

void TTraceText::Repaint() {
    if (fPending.empty()) fMemo.Repaint();
}

// The added lines go in as one text: one change of the rich edit. A line sent
// while the rich edit changes (from a handler of its change) is kept for later.
void TTraceText::ShowPending() {
    fFrame.stop();
    if (fPending.empty()) return;
    const std::vector<std::string> pending = std::exchange(fPending, {});
    size_t first = 0;
    if (std::exchange(fReplacing, false)) fMemo.ReplaceLast(pending[first++]);
    std::string added;
    for (size_t i = first; i < pending.size(); ++i) added += (i > first ? "\n" : "") + pending[i];
    if (first < pending.size()) fMemo.Add(added);
    fMemo.ScrollToBottom();
    fMemo.Repaint();
}

void TTraceText::SetPaced(bool paced) {
    fPaced = paced;
    if (!paced) ShowPending();
}
