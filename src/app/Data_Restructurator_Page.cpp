#include "app/Data_Restructurator_Page.h"

#include "analysis/Data_Restructurator_Unit.h"
#include "qt/Qt_Controls.h"
#include "qt/Text_Codec.h"

TDataRestructuratorPage::TDataRestructuratorPage()
    : TPage("TabSheet7", QStringLiteral("Data Restructurator")) {
    DataRestructurator_Init_Button = MakeButton(this, "DataRestructurator_Init_Button",
                                                QStringLiteral("Init"), QRect(16, 48, 75, 25));
    DataRestructurator_Edit =
        MakeEdit(this, "DataRestructurator_Edit", QString(), QRect(120, 96, 233, 21));
    DataRestructurator_Edit->setReadOnly(true);
    DataRestructurator_AddData_Button =
        MakeButton(this, "DataRestructurator_AddData_Button", QStringLiteral("Add Data"),
                   QRect(368, 88, 57, 25));
    Button11 = MakeButton(this, "Button11", QStringLiteral("Add Const."), QRect(440, 88, 65, 25));
    Button12 = MakeButton(this, "Button12", QStringLiteral("Remove Last"), QRect(392, 120, 75, 25));
    SpeedButton2 = MakeSpeedButton(this, "SpeedButton2", QStringLiteral("Calculatrice"),
                                   QRect(504, 120, 23, 22));
    DataRestructurator_RichEdit = new TRichEdit(this);
    DataRestructurator_RichEdit->setObjectName(QStringLiteral("DataRestructurator_RichEdit"));
    DataRestructurator_RichEdit->setGeometry(120, 184, 409, 89);
    DataRestructurator_RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DataRestructurator_RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DataRestructurator_RichEdit->setReadOnly(true);
    DataRestructurator_RichEdit->OnMouseDown = [this](TMouseButton button, TShiftState shift,
                                                      int32_t x, int32_t y) {
        DataRestructurator_RichEditMouseDown(DataRestructurator_RichEdit, button, shift, x, y);
    };
    Button2 = MakeButton(this, "Button2", QStringLiteral("&Load"), QRect(136, 288, 51, 25));
    Button9 = MakeButton(this, "Button9", QStringLiteral("&Save"), QRect(136, 328, 51, 25));
    Button13 = MakeButton(this, "Button13", QStringLiteral("Next Unrecognised Line"),
                          QRect(264, 288, 129, 25));
    Button13->setHidden(true);
    SpeedButton1 =
        MakeSpeedButton(this, "SpeedButton1", QStringLiteral("Learn"), QRect(440, 288, 33, 33));
    Button1 = MakeButton(this, "Button1", QStringLiteral("&Quitter"), QRect(456, 352, 75, 25));
    for (QWidget* idle : std::initializer_list<QWidget*>{Button11, Button12, SpeedButton2, Button9,
                                                         SpeedButton1, Button1})
        MarkNotAvailable(idle);
    ConnectClick(DataRestructurator_Init_Button, [this] { DataRestructurator_Init_ButtonClick(); });
    ConnectClick(Button2, [this] { Button2Click(); });
    ConnectClick(DataRestructurator_AddData_Button,
                 [this] { DataRestructurator_AddData_ButtonClick(); });
}

void TDataRestructuratorPage::DataRestructurator_Init_ButtonClick() {
    DataRestructurator->SetDisplay(DataRestructurator_RichEdit);
}

void TDataRestructuratorPage::Button2Click() {
    DataRestructurator->Load();
}

// Without a marked word nothing is recorded (the engine said why) and the page
// stays on its line.
void TDataRestructuratorPage::DataRestructurator_AddData_ButtonClick() {
    if (!DataRestructurator->AddData(FromQt(DataRestructurator_Edit->text()))) return;
    DataRestructurator->NextLine();
    DataRestructurator_Edit->clear();
}

void TDataRestructuratorPage::DataRestructurator_RichEditMouseDown(IRichEdit* sender,
                                                                   TMouseButton button,
                                                                   TShiftState shift, int32_t x,
                                                                   int32_t y) {
    DataRestructurator->MarkWordAt(sender, button, shift, x, y);
}
