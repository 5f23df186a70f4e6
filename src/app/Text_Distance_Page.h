// "Text Distance": the similarity score of the two typed texts.
#pragma once

#include <QLineEdit>
#include <QPushButton>

#include "app/Page.h"
#include "qt/Qt_Memo.h"

class TTextDistancePage : public TPage {
    Q_OBJECT
  public:
    TTextDistancePage();

    QLineEdit* TextDistance_Edit1;
    QLineEdit* TextDistance_Edit2;
    QPushButton* TextDistance_Button;
    TMemo* Text_Distance_Memo;

    void TextDistance_ButtonClick();
};
