// "Segmentation hypercube": showing a data file; the analysis is a placeholder.
#pragma once

#include <QPushButton>

#include "app/Page.h"
#include "qt/Qt_File_Dialog.h"
#include "qt/Qt_Memo.h"

class TSegmentationPage : public TPage {
    Q_OBJECT
  public:
    explicit TSegmentationPage(TFileDialog& openDialog2);

    QPushButton* ID3_Load_Button;
    TMemo* Segmentation_Memo;
    QPushButton* Segmentation_analyse_Button;
    TMemo* Segmentation_Analyse_Memo;

    void ID3_Load_ButtonClick();
    void Segmentation_analyse_ButtonClick();

  private:
    TFileDialog& OpenDialog2;
};
