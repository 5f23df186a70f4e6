#include "app/Transform_Picture_Page.h"

#include "qt/Qt_Controls.h"

TTransformPicturePage::TTransformPicturePage(TFileDialog& openPictureDialog2, TFileDialog& saveDialog1)
    : TPage("TabSheet8", QStringLiteral("Transform Picture Points")),
      OpenPictureDialog2(openPictureDialog2),
      SaveDialog1(saveDialog1) {
    TransformateurPicturePoints_Button = MakeButton(this, "TransformateurPicturePoints_Button",
                                                    QStringLiteral("Transform Picture Points"), QRect(38, 56, 171, 25));
    ConnectClick(TransformateurPicturePoints_Button, [this] { TransformateurPicturePoints_ButtonClick(); });
}

void TTransformPicturePage::TransformateurPicturePoints_ButtonClick() {
    // Wired to the picture-to-points transform when it lands.
}
