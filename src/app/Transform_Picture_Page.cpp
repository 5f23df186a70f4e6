#include "app/Transform_Picture_Page.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include "analysis/TransForm_Picture_To_Points_File_Unit.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Status_Bar.h"

TTransformPicturePage::TTransformPicturePage(TFileDialog& openPictureDialog2,
                                             TFileDialog& saveDialog1)
    : TPage("TabSheet8", QStringLiteral("Transform Picture Points")),
      OpenPictureDialog2(openPictureDialog2),
      SaveDialog1(saveDialog1) {
    TransformateurPicturePoints_Button =
        MakeButton(this, "TransformateurPicturePoints_Button",
                   QStringLiteral("Transform Picture Points"), QRect(38, 56, 171, 25));
    ConnectClick(TransformateurPicturePoints_Button,
                 [this] { TransformateurPicturePoints_ButtonClick(); });
}

namespace {

// The shared save dialog, as this page asks with it.
const TFileDialog::TUse kPointsFileUse{
    QStringLiteral("Points file to write"), QStringLiteral("Points files (*.txt);;All files (*)"),
    QStringLiteral("E:\\Kavelin\\Data\\AnalyseDeDensite"), QStringLiteral("PointsFileDialog")};

}  // namespace

// A cancelled dialog ends the action; a transform that worked says what it wrote.
void TTransformPicturePage::TransformateurPicturePoints_ButtonClick() {
    if (!OpenPictureDialog2.Execute()) return;
    const std::string source = QFile::encodeName(OpenPictureDialog2.FileName()).toStdString();
    if (!SaveDialog1.ExecuteAs(kPointsFileUse)) return;
    const std::string destination = QFile::encodeName(SaveDialog1.FileName()).toStdString();
    TTransPictureToPointsFile transformer(clWhite);
    transformer.Transform(source, destination);
    const int points = transformer.Lines().Count();
    ProgramStatus::Say(QStringLiteral("Wrote %1 %2 to %3")
                           .arg(QLocale().toString(points))
                           .arg(points == 1 ? QStringLiteral("point") : QStringLiteral("points"))
                           .arg(QDir::toNativeSeparators(SaveDialog1.FileName())));
}
