#include "qt/Qt_Rich_Edit.h"

#include "qt/Qt_Message_Box.h"
#include "qt/Qt_Mouse_Event.h"

int32_t TRichEdit::SelStart() const {
    return textCursor().selectionStart();
}

std::string TRichEdit::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) text += Get(i) + "\r\n";
    return text;
}

void TRichEdit::SetText(const std::string& text) {
    Assign(SplitLines(text));
}

void TRichEdit::mousePressEvent(QMouseEvent* event) {
    TMemo::mousePressEvent(event);
    FireMouseDown(event);
}

void TRichEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    TMemo::mouseDoubleClickEvent(event);
    FireMouseDown(event);
}

void TRichEdit::FireMouseDown(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    RunGuarded([&] {
        if (OnMouseDown) OnMouseDown(ButtonOf(event), ShiftOf(event), p.x(), p.y());
    });
}
