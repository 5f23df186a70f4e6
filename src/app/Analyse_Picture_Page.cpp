#include "app/Analyse_Picture_Page.h"

#include <QFile>

#include "analysis/Discriminant_Analysis_Unit.h"
#include "platform/Paths.h"
#include "qt/Qt_Controls.h"

namespace {

// Both buttons analyse with the same fixed settings, which are also the default
// texts of Edit1, Edit2 and Edit3; the edits are not read.
constexpr int32_t kMinPartSize = 20;
constexpr int32_t kCoverage = 90;
constexpr int32_t kMaxVariability = 90;

}  // namespace

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
    ConnectClick(AnalyseDiscriminante_Button, [this] { AnalyseDiscriminante_ButtonClick(); });
    ConnectClick(AnalyseDiscriminante_ouvrir_Image_Button,
                 [this] { AnalyseDiscriminante_ouvrir_Image_ButtonClick(); });
}

void TAnalysePicturePage::AnalyseDiscriminante_ButtonClick() {
    TDiscriminantAnalysisManager DiscriminantAnalysis(*Image1);
    if (DiscriminantAnalysis.fFileName.empty())
        DiscriminantAnalysis.fFileName = LocalPath(".\\Data\\DiscrimAnalysis\\dscf0001.bmp");
    DiscriminantAnalysis.Analyse(DiscriminantAnalysis.fFileName, kMinPartSize, kCoverage,
                                 kMaxVariability);
    Image1->Repaint();
}

void TAnalysePicturePage::AnalyseDiscriminante_ouvrir_Image_ButtonClick() {
    if (!OpenPictureDialog1.Execute()) return;
    TDiscriminantAnalysisManager DiscriminantAnalysis(*Image1);
    DiscriminantAnalysis.fFileName = QFile::encodeName(OpenPictureDialog1.FileName()).toStdString();
    DiscriminantAnalysis.Analyse(DiscriminantAnalysis.fFileName, kMinPartSize, kCoverage,
                                 kMaxVariability);
    // No immediate repaint here: the control shows its new picture at its next
    // paint, as any control whose picture has changed.
    Image1->update();
}
