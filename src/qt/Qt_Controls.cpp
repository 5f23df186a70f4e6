#include "qt/Qt_Controls.h"

#include <QKeyEvent>
#include <QStyle>

namespace {

// A push button that Return and Enter press when it has the focus, as Space does,
// like a focused button of the classic desktop.
class TButton : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const int key = event->key();
        const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && plain && !event->isAutoRepeat()) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

}  // namespace

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* button = new TButton(caption, parent);
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
    // The classic group box: a plain frame whose top line runs through the middle
    // of the caption, so that the layout's controls from 16 pixels down stay clear of it.
    box->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); margin-top: 5px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0px 2px; }"));
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

QToolButton* MakeSpeedButton(QWidget* parent, const char* name, const QString& hint,
                             QRect geometry) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setIcon(button->style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    button->setGeometry(geometry);
    return button;
}

void MarkNotAvailable(QWidget* control) {
    const QString notAvailable = QStringLiteral("Not available in this version");
    const QString hint = control->toolTip();
    control->setToolTip(hint.isEmpty() ? notAvailable : hint + '\n' + notAvailable);
    control->setEnabled(false);
}

void SetUpWindow(QWidget* window, const char* name, const QString& caption, QRect geometry) {
    window->setObjectName(QString::fromLatin1(name));
    window->setWindowTitle(caption);
    window->setGeometry(geometry);
}

#include "qt/Qt_Message_Box.h"
#include "qt/Text_Codec.h"

void ConnectClick(QAbstractButton* button, std::function<void()> handler) {
    QObject::connect(
        button, &QAbstractButton::clicked, button, [button, handler = std::move(handler)] {
            RunGuarded(handler,
                       "handling the button \"" + FromQt(button->text().remove(u'&')) + "\"");
        });
}
