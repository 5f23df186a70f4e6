// Start-up: the application's settings and the five windows, created in order.
#pragma once

#include <QApplication>

// Name, font, decimal separator, random seed and message box of the program.
void InitApplication(QApplication& app);

// Creates the main window, the profiling window, the database window, the debug
// window and the trace window, in this order; the main and trace windows show.
void CreateWindows();
// Releases the five windows in the reverse order.
void DestroyWindows();
