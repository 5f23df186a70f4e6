#include "qt/Qt_Message_Box.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "common/Errors.h"
#include "qt/Text_Codec.h"

void TQtMessageBox::Show(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), ToQt(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
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
}
