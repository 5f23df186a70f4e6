// Start-up: the application's settings and services, and the five windows
// created in order. main() holds one TProgramServices and, after it, one
// TProgramWindows; the window tests hold the same two.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QApplication>

#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/Kavelin_Unit.h"
#include "app/MyDatabase_Form.h"
#include "app/Named_Instance.h"
#include "app/Trace_Form.h"
#include "qt/Qt_Message_Box.h"

// A main window destroyed from outside (another X client: a window manager's
// "destroy", `xdotool windowclose`) ends the program as closing it does, also
// during a solve; Qt itself would only report errors about the window that is
// gone and go on.
class TDestroyedMainWindowWatch : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override;
};

// The program's settings and services while the object lives: name, font,
// decimal separator, random seed, working folder, sound server and picture reader
// are set by its creation; the message box and the watch on the main window are
// its members, installed by its creation and removed by its end, so that a box
// asked for after the application has gone writes to standard error instead.
class TProgramServices {
  public:
    explicit TProgramServices(QApplication& app);
    ~TProgramServices();
    TProgramServices(const TProgramServices&) = delete;
    TProgramServices& operator=(const TProgramServices&) = delete;

  private:
    QApplication& fApp;
    TDestroyedMainWindowWatch fMainWindowWatch;
    TQtMessageBox fMessageBox;
};

// The owner of the five windows. Its creation makes the main window, the
// profiling window, the database window, the debug window and the trace window,
// in this order, and shows the main and trace windows; its end releases them in
// the reverse order. Each window's name (Kavelin_Form, ChronoForm ...) points at
// it in between.
class TProgramWindows {
  public:
    TProgramWindows();
    TProgramWindows(const TProgramWindows&) = delete;
    TProgramWindows& operator=(const TProgramWindows&) = delete;

  private:
    TNamedInstance<TKavelin_Form> fMain{Kavelin_Form};
    TNamedInstance<TChronoForm> fChrono{ChronoForm};
    TNamedInstance<TMyDatabase_Form> fDatabase{MyDatabase_Form};
    TNamedInstance<TDebug_Form> fDebug{Debug_Form};
    TNamedInstance<TTraceForm> fTrace{TraceForm};
};
