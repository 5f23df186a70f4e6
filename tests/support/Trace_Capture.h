// Test support: captures what the Messenger reports. While a TTraceCapture lives,
// trace lines go to its line list and every message box is recorded instead of
// shown; the destructor detaches both.
#pragma once

#include <string>
#include <vector>

#include "common/Line_List.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Message_Box.h"
#include "platform/Text_Display.h"

class TRecordingTrace : public ITextDisplay {
public:
    int Count() const override { return fLines.Count(); }
    std::string Get(int index) const override { return fLines.Get(index); }
    void Add(const std::string& line) override { fLines.Add(line); }
    void Delete(int index) override { fLines.Delete(index); }
    void Clear() override { fLines.Clear(); }
    void ScrollToBottom() override { ++fScrolls; }
    void Repaint() override { ++fRepaints; }

    const std::vector<std::string>& Lines() const { return fLines.Lines(); }
    int fScrolls = 0;
    int fRepaints = 0;

private:
    TLineList fLines;
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
