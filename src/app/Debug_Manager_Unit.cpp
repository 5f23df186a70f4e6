#include "app/Debug_Manager_Unit.h"

#include "qt/Qt_Controls.h"

TDebug_Form* Debug_Form = nullptr;

TDebug_Form::TDebug_Form() {
    SetUpWindow(this, "Debug_Form", QStringLiteral("Debug_Form"), QRect(-1, 320, 362, 446));
    // The controls lie within the layout's size, which the window keeps at least.
    setMinimumSize(size());
    setAttribute(Qt::WA_QuitOnClose, false);
    Memo1 = MakeMemo(this, "Memo1", QRect(0, 0, 313, 225), TScrollBars::None);
    Debug_Manager_Stringgrid = new TStringGridControl(this, 5, 5);
    Debug_Manager_Stringgrid->setObjectName(QStringLiteral("Debug_Manager_Stringgrid"));
    Debug_Manager_Stringgrid->setGeometry(8, 232, 289, 161);
}
