// The rich edit as the engines see it: a text display whose caret and whole
// text they read, whose text they rewrite, and whose mouse presses they receive.
// The Qt layer implements it on the memo control.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Picture.h"
#include "platform/Text_Display.h"

class IRichEdit {
  public:
    virtual ~IRichEdit() = default;

    // The lines shown.
    virtual ITextDisplay& Lines() = 0;
    // The caret: the start of the selection, counted from 0, a line break
    // counting as one character.
    virtual int32_t SelStart() const = 0;
    // The whole text: every line followed by CR LF, as the line list's text.
    virtual std::string Text() const = 0;
    // Replaces the content with the lines of `text` (a final line end adds no
    // empty line).
    virtual void SetText(const std::string& text) = 0;

    // A mouse button pressed in the control, after the control has moved its
    // caret to the press; empty: nothing.
    TMouseEvent OnMouseDown;
};
