// "Transform Picture Points": every non-background pixel of a picture written
// to a text file of points.
#pragma once

#include <QPushButton>

#include "app/Page.h"
#include "qt/Qt_File_Dialog.h"

class TTransformPicturePage : public TPage {
    Q_OBJECT
  public:
    TTransformPicturePage(TFileDialog& openPictureDialog2, TFileDialog& saveDialog1);

    QPushButton* TransformateurPicturePoints_Button;

    void TransformateurPicturePoints_ButtonClick();

  private:
    TFileDialog& OpenPictureDialog2;
    TFileDialog& SaveDialog1;
};
