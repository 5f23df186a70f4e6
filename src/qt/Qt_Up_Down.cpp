#include "qt/Qt_Up_Down.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QWidget* parent, QLineEdit* associate, int min, int max, int position)
    : QWidget(parent), fAssociate(associate), fMin(min), fMax(max), fPosition(position) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* up = new QToolButton(this);
    up->setObjectName(QStringLiteral("up"));
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(this);
    down->setObjectName(QStringLiteral("down"));
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setAutoRepeat(true);
        // The arrows are worked with the mouse; the keyboard steps through the edit.
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, &TUpDown::StepUp);
    connect(down, &QToolButton::clicked, this, &TUpDown::StepDown);
    associate->installEventFilter(this);
    SetPosition(position);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fAssociate && event->type() == QEvent::FocusOut) TakeEditedText();
    if (watched == fAssociate && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            key == Qt::Key_Up ? StepUp() : StepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int16_t TUpDown::Position() {
    TakeEditedText();
    return static_cast<int16_t>(fPosition);
}

int TakeNumberFromEdit(QLineEdit* edit, int min, int max, int last) {
    const QString text = edit->text().trimmed();
    bool ok = false;
    const qlonglong typed = text.toLongLong(&ok);
    int number = last;
    if (ok)
        number = static_cast<int>(std::clamp<qlonglong>(typed, min, max));
    else if (static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
             digits.match(text).hasMatch())
        number = text.startsWith(QLatin1Char('-')) ? min : max;  // beyond 64 bits
    const QString shown = QString::number(number);
    if (edit->text() != shown) edit->setText(shown);
    return number;
}

void TUpDown::TakeEditedText() {
    fPosition = TakeNumberFromEdit(fAssociate, fMin, fMax, fPosition);
}

void TUpDown::SetPosition(int position) {
    fPosition = std::clamp(position, fMin, fMax);
    fAssociate->setText(QString::number(fPosition));
}
