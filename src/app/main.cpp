// Kavelin: start-up initialises the application, creates the five windows and
// runs the message loop until the main window has closed.
#include <QApplication>

#include "app/Application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InitApplication(app);
    TProgramWindows windows;
    return app.exec();
}
