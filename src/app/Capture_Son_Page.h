// "Capture Son": repeated sound capture and a dot plot of the captured file.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <memory>

#include "analysis/Sound_Display_Unit.h"
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

    // Passes of one click on "Capture son en cours"; tests lower it.
    int fCapturePasses = kCapturePasses;
    // The white bitmap that clears the picture, made by the first capture or display.
    std::unique_ptr<TBitmap> fCaptureBitmap;

    // The capture loop, run as long work shown at once: the status bar counts the
    // passes, Escape, Stop and closing the main window end it after the pass
    // under way, other input is refused with a word saying why.
    void CaptureSon_ButtonClick();
    void Button5Click();
    // Plays the recorded file; bound to no control.
    void Button3Click();
    // The dot plot of the recorded file, then a repaint of the whole window; false
    // when the user dismissed a "Next" box, which ends the drawing there.
    bool ShowAudioSample();
};
