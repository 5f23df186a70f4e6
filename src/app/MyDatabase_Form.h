// The database window: one grid, which every database wraps when it is made.
// The window has no handlers of its own and nothing shows it.
#pragma once

#include <QWidget>

#include "qt/Qt_String_Grid.h"

class TMyDatabase_Form : public QWidget {
    Q_OBJECT
  public:
    TMyDatabase_Form();
    ~TMyDatabase_Form() override;

    TStringGridControl* DBStringGrid;
};

// The window while it exists; set and cleared by its owner (TProgramWindows).
extern TMyDatabase_Form* MyDatabase_Form;
