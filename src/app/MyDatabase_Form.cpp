#include "app/MyDatabase_Form.h"

#include "qt/Qt_Controls.h"
#include "tables/Database_Unit.h"

TMyDatabase_Form* MyDatabase_Form = nullptr;

TMyDatabase_Form::TMyDatabase_Form() {
    SetUpWindow(this, "MyDatabase_Form", QStringLiteral("MyDatabase_Form"),
                QRect(114, 167, 841, 434));
    // The grid lies within the layout's size, which the window keeps at least.
    setMinimumSize(size());
    setAttribute(Qt::WA_QuitOnClose, false);
    DBStringGrid = new TStringGridControl(this, 4, 5);
    DBStringGrid->setObjectName(QStringLiteral("DBStringGrid"));
    DBStringGrid->setGeometry(8, 8, 689, 385);
    const int widths[] = {64, 75, 258, 68};
    for (int col = 0; col < 4; ++col) DBStringGrid->setColumnWidth(col, widths[col]);
    // Every database made from a file from now on wraps this grid.
    SetDatabaseWindowGrid(DBStringGrid);
}

TMyDatabase_Form::~TMyDatabase_Form() {
    if (DatabaseWindowGrid() == DBStringGrid) SetDatabaseWindowGrid(nullptr);
}
