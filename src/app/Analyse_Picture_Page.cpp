#include "app/Analyse_Picture_Page.h"

#include <QFile>

#include "analysis/Discriminant_Analysis_Unit.h"
#include "platform/Paths.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"
#include "qt/Qt_Up_Down.h"

TAnalysePicturePage::TAnalysePicturePage(TFileDialog& openPictureDialog1)
    : TPage("TabSheet2", QStringLiteral("Analyse Discriminante Picture")),
      OpenPictureDialog1(openPictureDialog1) {
    Image1 = new TPictureControl(this, QRect(0, 8, 489, 497));
    Image1->setObjectName(QStringLiteral("Image1"));
    MakeLabel(this, "Label5", QStringLiteral("Min Part Size"), {544, 328});
    Edit1 = MakeEdit(this, "Edit1", QStringLiteral("20"), QRect(616, 320, 41, 21));
    MakeLabel(this, "Label6", QStringLiteral("Couverture"), {552, 360});
    Edit2 = MakeEdit(this, "Edit2", QStringLiteral("90"), QRect(616, 352, 41, 21));
    MakeLabel(this, "Label7", QStringLiteral("Tx Variabilité Max"), {536, 416});
    Edit3 = MakeEdit(this, "Edit3", QStringLiteral("90"), QRect(624, 408, 41, 21));
    AnalyseDiscriminante_Button =
        MakeButton(this, "AnalyseDiscriminante_Button", QStringLiteral("&Analyse Discriminante"),
                   QRect(544, 440, 121, 25));
    AnalyseDiscriminante_ouvrir_Image_Button =
        MakeButton(this, "AnalyseDiscriminante_ouvrir_Image_Button",
                   QStringLiteral("Ouvrir Autre Image"), QRect(560, 472, 105, 25));
    // A finished edit shows the number it stands for, as the analysis will use it.
    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        connect(edit, &QLineEdit::editingFinished, this, [this] { TakeSettings(); });
    ConnectClick(AnalyseDiscriminante_Button, [this] { AnalyseDiscriminante_ButtonClick(); });
    ConnectClick(AnalyseDiscriminante_ouvrir_Image_Button,
                 [this] { AnalyseDiscriminante_ouvrir_Image_ButtonClick(); });
}

TAnalysePicturePage::TSettings TAnalysePicturePage::TakeSettings() {
    using Manager = TDiscriminantAnalysisManager;
    fSettings.minPartSize = TakeNumberFromEdit(Edit1, Manager::kLowestMinPartSize,
                                               Manager::kHighestSetting, fSettings.minPartSize);
    fSettings.coverage = TakeNumberFromEdit(Edit2, Manager::kLowestPercentage,
                                            Manager::kHighestSetting, fSettings.coverage);
    fSettings.maxVariability = TakeNumberFromEdit(
        Edit3, Manager::kLowestPercentage, Manager::kHighestSetting, fSettings.maxVariability);
    return fSettings;
}

// The analysis of the manager's picture with the edits' settings, as long work
// that Escape and Stop end.
void TAnalysePicturePage::Analyse(TDiscriminantAnalysisManager& analysis) {
    const TSettings settings = TakeSettings();
    TLongWork work(QStringLiteral("Analysis"));
    analysis.Analyse(analysis.fFileName, settings.minPartSize, settings.coverage,
                     settings.maxVariability, work);
}

void TAnalysePicturePage::AnalyseDiscriminante_ButtonClick() {
    TDiscriminantAnalysisManager DiscriminantAnalysis(*Image1);
    if (DiscriminantAnalysis.fFileName.empty())
        DiscriminantAnalysis.fFileName = LocalPath(".\\Data\\DiscrimAnalysis\\dscf0001.bmp");
    Analyse(DiscriminantAnalysis);
    Image1->Repaint();
}

void TAnalysePicturePage::AnalyseDiscriminante_ouvrir_Image_ButtonClick() {
    if (!OpenPictureDialog1.Execute()) return;
    TDiscriminantAnalysisManager DiscriminantAnalysis(*Image1);
    DiscriminantAnalysis.fFileName = QFile::encodeName(OpenPictureDialog1.FileName()).toStdString();
    Analyse(DiscriminantAnalysis);
    // No immediate repaint here: the control shows its new picture at its next
    // paint, as any control whose picture has changed.
    Image1->update();
}
