// A multi-line text control as the engines see it: its lines, a scroll to the
// bottom and an immediate repaint. The trace window's rich edit and the
// command-line tool's trace implement it.
#pragma once

#include "base/Line_List.h"

class ITextDisplay : public TLines {
  public:
    // Removes the first `count` lines at once (fewer when the text holds fewer).
    virtual void DeleteFirst(int count);
    // Replaces the last line (there is one) by `text`, as deleting it and adding
    // `text` would; a control does it in place, so that its scrolling stays.
    virtual void ReplaceLast(const std::string& text);
    virtual void ScrollToBottom() = 0;
    virtual void Repaint() = 0;
};

// A text display held in memory: the command-line tool's trace, and the tests'.
class TMemoryTextDisplay : public ITextDisplay {
  public:
    int Count() const override { return fLines.Count(); }
    std::string Get(int index) const override { return fLines.Get(index); }
    // A text with line ends becomes several lines, as in the trace window: each
    // CR LF, LF or CR starts a new line, a final one included.
    void Add(const std::string& text) override;
    void Delete(int index) override { fLines.Delete(index); }
    void DeleteFirst(int count) override { fLines.DeleteFirst(count); }
    void Clear() override { fLines.Clear(); }
    void ScrollToBottom() override {}
    void Repaint() override {}

    const std::vector<std::string>& Lines() const { return fLines.Lines(); }

  private:
    TLineList fLines;
};
