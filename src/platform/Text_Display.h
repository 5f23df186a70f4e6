// A multi-line text control as the engines see it: its lines, a scroll to the
// bottom and an immediate repaint. The trace window's rich edit and the
// command-line tool's trace implement it.
#pragma once

#include "common/Line_List.h"

class ITextDisplay : public TLines {
public:
    // Removes the first `count` lines at once (fewer when the text holds fewer).
    virtual void DeleteFirst(int count);
    virtual void ScrollToBottom() = 0;
    virtual void Repaint() = 0;
};
