#include "qt/Qt_Controls.h"

#include <QStyle>

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint position) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->move(position);
    label->adjustSize();
    return label;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    return box;
}

TMemo* MakeMemo(QWidget* parent, const char* name, QRect geometry, TScrollBars scrollBars) {
    auto* memo = new TMemo(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setGeometry(geometry);
    const auto policy = [](bool on) { return on ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff; };
    memo->setVerticalScrollBarPolicy(policy(scrollBars != TScrollBars::None));
    memo->setHorizontalScrollBarPolicy(policy(scrollBars == TScrollBars::Both));
    // A memo without a horizontal scroll bar wraps its lines, as the classic memo does.
    memo->setLineWrapMode(scrollBars == TScrollBars::Both ? QPlainTextEdit::NoWrap
                                                          : QPlainTextEdit::WidgetWidth);
    return memo;
}

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QString& hint, QRect geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIcon(button->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    button->setGeometry(geometry);
    return button;
}

void SetUpWindow(QWidget* window, const char* name, const QString& caption, QRect geometry) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(caption);
    window->setGeometry(geometry);
}

#include "qt/Qt_Message_Box.h"

void ConnectClick(QAbstractButton* button, std::function<void()> handler) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [handler = std::move(handler)] { RunGuarded(handler); });
}
