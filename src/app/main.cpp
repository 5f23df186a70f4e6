// Kavelin: main() owns the application, its services and the five windows, made
// in this order; the message loop runs until the main window has closed, and they
// go in the reverse order.
#include <QApplication>

#include "app/Application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TProgramServices services(app);
    TProgramWindows windows;
    return app.exec();
}
