// The debug window: a memo and a grid set aside for debugging output. Created
// hidden; nothing writes into it.
#pragma once

#include <QWidget>

#include "qt/Qt_Memo.h"
#include "qt/Qt_String_Grid.h"

class TDebug_Form : public QWidget {
    Q_OBJECT
  public:
    TDebug_Form();

    TMemo* Memo1;
    TStringGridControl* Debug_Manager_Stringgrid;
};

// The window while it exists; set and cleared by its owner (TProgramWindows).
extern TDebug_Form* Debug_Form;
