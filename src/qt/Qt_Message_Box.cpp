#include "qt/Qt_Message_Box.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "qt/Text_Codec.h"

void TQtMessageBox::Show(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), ToQt(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowMessageBox(e.what());
    } catch (...) {
        ShowMessageBox("Unexpected error");
    }
}
