// "Capture Son": repeated sound capture and a dot plot of the captured file.
#pragma once

#include <QLabel>
#include <QPushButton>

#include "app/Page.h"
#include "qt/Qt_Memo.h"
#include "qt/Qt_Picture.h"

class TCaptureSonPage : public TPage {
    Q_OBJECT
public:
    TCaptureSonPage();

    TMemo* Memo1;
    QPushButton* CaptureSon_Button;
    QPushButton* Button5;
    TPictureControl* CaptureSons_Image;

    void CaptureSon_ButtonClick();
    void Button5Click();
};
