#include "app/Trace_Form.h"

#include <algorithm>
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
    FormCreate();
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
    return Shown() + static_cast<int>(fPending.size()) - fTrimmed;
}

std::string TTraceText::Get(int index) const {
    if (index < 0 || index >= Count()) return std::string();
    const int at = index + fTrimmed;
    const int shown = Shown();
    return at < shown ? fMemo.Get(at) : fPending[static_cast<size_t>(at - shown)];
}

namespace {

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

}  // namespace

// A text of several lines goes in at once, in its place after what is kept aside.
void TTraceText::Add(const std::string& line) {
    if (!fPaced || HasLineBreak(line)) {
        BeforeDirectChange();
        fMemo.Add(line);
        AfterDirectChange();
        return;
    }
    fPending.push_back(line);
    Keep();
}

void TTraceText::ReplaceLast(const std::string& text) {
    if (!fPaced || HasLineBreak(text) || Count() == 0) {
        BeforeDirectChange();
        fMemo.ReplaceLast(text);
        AfterDirectChange();
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
    BeforeDirectChange();
    fMemo.Delete(index);
    AfterDirectChange();
}

// While paced, the trim is kept in its place among the lines kept aside: the
// rich edit later passes through the same line counts as without pace.
void TTraceText::DeleteFirst(int count) {
    if (!fPaced) {
        BeforeDirectChange();
        fMemo.DeleteFirst(count);
        return;
    }
    count = std::min(count, Count());
    if (count <= 0) return;
    fTrims.push_back({fPending.size(), count});
    fTrimmed += count;
    Keep();
}

void TTraceText::Clear() {
    fFrame.RunningNow();
    fPending.clear();
    fTrims.clear();
    fTrimmed = 0;
    fReplacing = false;
    fUnpainted = false;
    fMemo.Clear();
}

// A change made in the rich edit itself comes after what is kept aside; while
// paced, it is scrolled to and painted with the next frame.
void TTraceText::BeforeDirectChange() {
    if (fPaced)
        WritePending();
    else
        ShowPending();
}

void TTraceText::AfterDirectChange() {
    if (!fPaced) return;
    fUnpainted = true;
    Keep();
}

// Lines waiting for the frame are scrolled to and painted with it.
void TTraceText::ScrollToBottom() {
    if (!Waiting()) fMemo.ScrollToBottom();
}

void TTraceText::Repaint() {
    if (!Waiting()) fMemo.Repaint();
}

bool TTraceText::Waiting() const {
    return !fPending.empty() || !fTrims.empty() || fUnpainted;
}

void TTraceText::Keep() {
    fFrame.Request();
}

void TTraceText::ShowPending() {
    fFrame.RunningNow();
    WritePending();
    if (!fUnpainted) return;
    fUnpainted = false;
    fMemo.ScrollToBottom();
    fMemo.Repaint();
}

// What was kept aside reaches the rich edit in its order, each run of added lines
// as one text and each trim where it fell, grouped into one change of the rich
// edit, which lays out and paints the frame's lines once. A line sent while the
// rich edit changes (from a handler of its change) is kept for later.
void TTraceText::WritePending() {
    if (fPending.empty() && fTrims.empty()) return;
    fUnpainted = true;
    const std::vector<std::string> pending = std::exchange(fPending, {});
    const std::vector<TTrim> trims = std::exchange(fTrims, {});
    const bool replacing = std::exchange(fReplacing, false);
    fTrimmed = 0;
    {
        const TMemo::TProgramEdit group(fMemo, true);
        size_t next = 0;
        const auto writeUpTo = [&](size_t end) {
            if (next == end) return;
            if (next == 0 && replacing) fMemo.ReplaceLast(pending[next++]);
            std::string added;
            for (size_t i = next; i < end; ++i) added += (i > next ? "\n" : "") + pending[i];
            if (next < end) fMemo.Append(added);
            next = end;
        };
        for (const TTrim& trim : trims) {
            writeUpTo(trim.fAfter);
            fMemo.DeleteFirst(trim.fCount);
        }
        writeUpTo(pending.size());
    }
    if (pending.size() > (replacing ? 1u : 0u)) fMemo.ShowLastLine();
}

void TTraceText::SetPaced(bool paced) {
    fPaced = paced;
    if (!paced) ShowPending();
}
