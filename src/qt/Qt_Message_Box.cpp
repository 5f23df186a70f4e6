#include "qt/Qt_Message_Box.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "base/Errors.h"
#include "qt/Text_Codec.h"

void TQtMessageBox::Show(const std::string& text) {
    ShowAndAsk(text);
}

bool TQtMessageBox::ShowAndAsk(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), ToQt(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    // What the box shows is what the trace shows: no markup is read from the text.
    box.setTextFormat(Qt::PlainText);
    // The box shows its one OK button; Escape and the close box press a hidden
    // button of their own, so that a dismissal can be told from an answer.
    QAbstractButton* dismiss = box.addButton(QMessageBox::Cancel);
    dismiss->hide();
    box.setEscapeButton(dismiss);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() != dismiss;
}

TSaveChoice TQtMessageBox::AskToSave(const std::string& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), ToQt(question),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    // Alt+S and Alt+D answer from the keyboard, as on the program's buttons.
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Save:
            return TSaveChoice::Save;
        case QMessageBox::Discard:
            return TSaveChoice::Discard;
        default:
            return TSaveChoice::Cancel;
    }
}

namespace {

std::function<void()>& AfterHandler() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void SetAfterHandler(std::function<void()> hook) {
    AfterHandler() = std::move(hook);
}

void RunGuarded(const std::function<void()>& handler, const std::string& action) {
    try {
        handler();
    } catch (const std::bad_alloc&) {
        ShowMessageBox(OutOfMemoryMessage(action));
    } catch (const std::exception& e) {
        ShowMessageBox(e.what());
    } catch (...) {
        ShowMessageBox("Unexpected error");
    }
    if (AfterHandler()) AfterHandler()();
}
