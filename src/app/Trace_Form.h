// The trace window: nine labels and the rich edit that holds the trace. Its
// creation attaches the Messenger to the rich edit, so from then on every line
// the engines report shows here. Closing it only hides it. The rich edit grows
// with the window; its context menu copies, selects, saves and clears the trace.
#pragma once

#include <QAction>
#include <QLabel>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "qt/Frame_Pacer.h"
#include "qt/Qt_Memo.h"

// The trace as the Messenger writes it: the rich edit's lines. While a search
// runs (Paced), the lines it adds, rewrites or trims at every step (its status
// line, explosion lines, solutions) are kept aside and reach the rich edit
// together at the screen's pace, at most once per frame, as one change of the
// rich edit, which is then scrolled and painted. Reading the lines sees every
// change at once.
//
// A search that sends more lines between two frames than the rich edit takes in
// well (kHoldAbove) has the trace held in memory until it ends: each frame then
// shows only the newest lines (kShownWhileHeld), as the trace's scroll to the
// bottom at every line lets nothing older be seen anyway, and the rich edit is
// read-only meanwhile, since what it shows is rewritten at every frame. When the
// search ends, the rich edit receives the whole trace again.
class TTraceText : public ITextDisplay {
  public:
    explicit TTraceText(TMemo& memo);
    int Count() const override;
    std::string Get(int index) const override;
    void Add(const std::string& line) override;
    void Delete(int index) override;
    void Clear() override;
    // The whole trace, the held one too, in one pass.
    std::vector<std::string> ToVector() const override;
    void DeleteFirst(int count) override;
    void ReplaceLast(const std::string& text) override;
    void ScrollToBottom() override;
    void Repaint() override;
    // Writes the lines kept aside into the rich edit, scrolled and painted.
    void ShowPending();
    // Lines are kept aside while paced; ending the pace shows them.
    void SetPaced(bool paced);
    // Whether the trace is held in memory (see above).
    bool Holding() const { return fHolding; }

    static constexpr size_t kHoldAbove = 1000;
    static constexpr size_t kShownWhileHeld = 200;

  private:
    int Shown() const;
    void Keep();
    template <class Change>
    void ChangeNow(Change change);
    void AwaitFrame();
    // Writes what is kept aside into the rich edit, which then waits for its
    // frame to be scrolled and painted.
    void WritePending();
    bool Waiting() const;
    void Hold();
    void ShowHeld();
    void Release();
    TMemo& fMemo;
    // The lines kept aside; with fReplacing, the first of them replaces the rich
    // edit's last line.
    std::vector<std::string> fPending;
    bool fReplacing = false;
    // The first lines trimmed since the rich edit was last written.
    int fTrimmed = 0;
    // The rich edit has changed since it was last scrolled and painted.
    bool fUnpainted = false;
    bool fPaced = false;
    // The whole trace while it is held.
    TMemoryTextDisplay fHeld;
    bool fHolding = false;
    TFramePacer fFrame;
};

class TTraceForm : public QWidget {
    Q_OBJECT
  public:
    TTraceForm();
    ~TTraceForm() override;

    TMemo* RichEdit1;
    // The rich edit's context menu.
    QAction* Trace_Copy_Action;
    QAction* Trace_SelectAll_Action;
    QAction* Trace_SaveAs_Action;
    QAction* Trace_Clear_Action;
    // What the Messenger writes to.
    TTraceText* Text() { return fText.get(); }

    // Writes the whole trace to the file the save dialog names: CR LF lines, in
    // the code page, whole or not at all.
    void Trace_SaveAs_ActionClick();
    // Empties the trace, as the Messenger's ClearTrace does.
    void Trace_Clear_ActionClick();

  private:
    void FormCreate();
    void MakeContextMenu();
    std::unique_ptr<TTraceText> fText;
};

// The window while it exists; set and cleared by its owner (TProgramWindows).
extern TTraceForm* TraceForm;
