#include "app/Segmentation_Page.h"

#include <QFile>

#include "analysis/Segmentation_Manager_Unit.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"

TSegmentationPage::TSegmentationPage(TFileDialog& openDialog2)
    : TPage("TabSheet6", QStringLiteral("Segmentation hypercube")), OpenDialog2(openDialog2) {
    ID3_Load_Button =
        MakeButton(this, "ID3_Load_Button", QStringLiteral("&Load Datas"), QRect(88, 40, 75, 25));
    Segmentation_Memo =
        MakeMemo(this, "Segmentation_Memo", QRect(8, 72, 297, 297), TScrollBars::None);
    // A data file loaded over what was there can be undone.
    Segmentation_Memo->SetReplacementsUndoable(true);
    Segmentation_analyse_Button = MakeButton(this, "Segmentation_analyse_Button",
                                             QStringLiteral("&Analyse"), QRect(416, 40, 75, 25));
    Segmentation_Analyse_Memo =
        MakeMemo(this, "Segmentation_Analyse_Memo", QRect(312, 72, 297, 305), TScrollBars::None);
    ConnectClick(ID3_Load_Button, [this] { ID3_Load_ButtonClick(); });
    ConnectClick(Segmentation_analyse_Button, [this] { Segmentation_analyse_ButtonClick(); });
}

void TSegmentationPage::ID3_Load_ButtonClick() {
    if (!OpenDialog2.Execute()) return;
    TLongWork work(QStringLiteral("Load Datas"));
    Segmentation_Memo->LoadFromFile(QFile::encodeName(OpenDialog2.FileName()).toStdString(), work);
}

void TSegmentationPage::Segmentation_analyse_ButtonClick() {
    TSegmentationManager manager;
    manager.Analyse();
    manager.ShowResult(*Segmentation_Analyse_Memo);
}
