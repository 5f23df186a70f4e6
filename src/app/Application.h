// Start-up: the application's settings and the five windows, created in order.
#pragma once

#include <QApplication>

#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/Kavelin_Unit.h"
#include "app/MyDatabase_Form.h"
#include "app/Named_Instance.h"
#include "app/Trace_Form.h"

// Name, font, decimal separator, random seed and message box of the program.
void InitApplication(QApplication& app);

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
