// "Data Restructurator": the lines of a data file split into words by character
// classes, with words marked and recorded by the mouse.
#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/Page.h"
#include "qt/Qt_Rich_Edit.h"

class TDataRestructuratorPage : public TPage {
    Q_OBJECT
  public:
    TDataRestructuratorPage();

    QPushButton* DataRestructurator_Init_Button;
    QLineEdit* DataRestructurator_Edit;
    QPushButton* DataRestructurator_AddData_Button;
    QPushButton* Button11;
    QPushButton* Button12;
    QToolButton* SpeedButton2;
    TRichEdit* DataRestructurator_RichEdit;
    QPushButton* Button2;
    QPushButton* Button9;
    QPushButton* Button13;
    QToolButton* SpeedButton1;
    QPushButton* Button1;

    void DataRestructurator_Init_ButtonClick();
    void Button2Click();
    void DataRestructurator_AddData_ButtonClick();
    void DataRestructurator_RichEditMouseDown(IRichEdit* sender, TMouseButton button,
                                              TShiftState shift, int32_t x, int32_t y);
};
