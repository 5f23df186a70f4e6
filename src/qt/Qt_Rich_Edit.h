// The plain-text rich edit: the memo control with the caret, the whole text and
// the mouse-press event that the engines use (IRichEdit).
#pragma once

#include "platform/Rich_Edit.h"
#include "qt/Qt_Memo.h"

class TRichEdit : public TMemo, public IRichEdit {
    Q_OBJECT
  public:
    explicit TRichEdit(QWidget* parent = nullptr) : TMemo(parent) {}

    ITextDisplay& Lines() override { return *this; }
    int32_t SelStart() const override;
    std::string Text() const override;
    void SetText(const std::string& text) override;

  protected:
    // The control moves its caret first, then OnMouseDown runs, as on Windows.
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double click is a mouse press too, as on Windows.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void FireMouseDown(QMouseEvent* event);
};
