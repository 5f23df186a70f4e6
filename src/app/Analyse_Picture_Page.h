// "Analyse Discriminante Picture": a picture split into homogeneous parts.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Page.h"
#include "qt/Qt_File_Dialog.h"
#include "qt/Qt_Picture.h"

class TDiscriminantAnalysisManager;

class TAnalysePicturePage : public TPage {
    Q_OBJECT
  public:
    explicit TAnalysePicturePage(TFileDialog& openPictureDialog1);

    TPictureControl* Image1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QPushButton* AnalyseDiscriminante_Button;
    QPushButton* AnalyseDiscriminante_ouvrir_Image_Button;

    void AnalyseDiscriminante_ButtonClick();
    void AnalyseDiscriminante_ouvrir_Image_ButtonClick();

  private:
    // The three settings of the analysis, as the edits show them; the edits start
    // with these texts.
    struct TSettings {
        int minPartSize = 20;
        int coverage = 90;
        int maxVariability = 90;
    };
    // Reads the three edits: a number beyond the settings' range is clamped into
    // it, a text that is no number gives way to the last setting; each edit then
    // shows the setting it stands for.
    TSettings TakeSettings();
    void Analyse(TDiscriminantAnalysisManager& analysis);

    TFileDialog& OpenPictureDialog1;
    TSettings fSettings;
};
