// Where the windows stand and whether they show, kept between two runs in the
// user's settings (QSettings: ~/.config/Kavelin/Kavelin.conf). Saved when the main
// window closes and restored at the next start; a window saved where the screen
// no longer reaches is moved back inside it. At the first start the trace window
// stands beside the main window rather than over it.
#pragma once

#include <QWidget>
#include <vector>

// Restores the place of each window saved by SaveWindowPlaces; a window with
// nothing saved keeps its layout place, except the trace window (`beside`) which
// moves to the right of `main` when the screen has room. A window saved as shown
// shows, one saved as hidden hides; the main window always shows afterwards.
void RestoreWindowPlaces(QWidget* main, QWidget* beside, const std::vector<QWidget*>& others);
// Saves every window's geometry and whether it is shown, under its object name.
void SaveWindowPlaces(const std::vector<QWidget*>& windows);
