#include "qt/Qt_Up_Down.h"

#include <QKeyEvent>
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
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, &TUpDown::StepUp);
    connect(down, &QToolButton::clicked, this, &TUpDown::StepDown);
    associate->installEventFilter(this);
    SetPosition(position);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fAssociate && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            key == Qt::Key_Up ? StepUp() : StepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int16_t TUpDown::Position() const {
    bool ok = false;
    const int shown = fAssociate->text().trimmed().toInt(&ok);
    if (ok && shown >= fMin && shown <= fMax) return static_cast<int16_t>(shown);
    return static_cast<int16_t>(fPosition);
}

void TUpDown::SetPosition(int position) {
    fPosition = std::clamp(position, fMin, fMax);
    fAssociate->setText(QString::number(fPosition));
}
