#include "app/Transform_Picture_Page.h"

#include <QFile>

#include "analysis/TransForm_Picture_To_Points_File_Unit.h"
#include "qt/Qt_Controls.h"

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

void TTransformPicturePage::TransformateurPicturePoints_ButtonClick() {
    // Both dialogs are shown even when the first is cancelled; a cancelled dialog
    // gives an empty name, which the transform reports.
    std::string source, destination;
    if (OpenPictureDialog2.Execute())
        source = QFile::encodeName(OpenPictureDialog2.FileName()).toStdString();
    if (SaveDialog1.Execute())
        destination = QFile::encodeName(SaveDialog1.FileName()).toStdString();
    TTransPictureToPointsFile transformer(clWhite);
    transformer.Transform(source, destination);
}
