// Test support: captures what the Messenger reports. While a TTraceCapture lives,
// trace lines go to its line list and every message box is recorded instead of
// shown; the destructor detaches both.
#pragma once

#include <string>
#include <vector>

#include "base/Line_List.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Message_Box.h"
#include "platform/Text_Display.h"

class TRecordingTrace : public TMemoryTextDisplay {
  public:
    void ScrollToBottom() override { ++fScrolls; }
    void Repaint() override { ++fRepaints; }

    int fScrolls = 0;
    int fRepaints = 0;
};

class TRecordingMessageBox : public IMessageBox {
  public:
    void Show(const std::string& text) override { fTexts.push_back(text); }
    std::vector<std::string> fTexts;
};

class TTraceCapture {
  public:
    TTraceCapture() {
        SetMessageBox(&fBoxes);
        Messenger.AttachTrace(&fTrace);
    }
    ~TTraceCapture() {
        Messenger.AttachTrace(nullptr);
        SetMessageBox(nullptr);
    }
    TTraceCapture(const TTraceCapture&) = delete;
    TTraceCapture& operator=(const TTraceCapture&) = delete;

    const std::vector<std::string>& Lines() const { return fTrace.Lines(); }
    const std::vector<std::string>& Boxes() const { return fBoxes.fTexts; }
    // True when some trace line equals `line` exactly.
    bool HasLine(const std::string& line) const {
        for (const auto& l : Lines())
            if (l == line) return true;
        return false;
    }
    void Reset() {
        fTrace.Clear();
        fBoxes.fTexts.clear();
    }

    TRecordingTrace fTrace;
    TRecordingMessageBox fBoxes;
};
