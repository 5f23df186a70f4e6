#include "app/Kavelin_Unit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QShortcut>
#include <QWheelEvent>

#include "analysis/Data_Restructurator_Unit.h"
#include "app/Chrono_Form.h"
#include "common/Ini_Manager_Unit.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Paths.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Message_Box.h"
#include "solvers/SATSolver_Unit.h"

TKavelin_Form* Kavelin_Form = nullptr;
TIniManager* IniManager = nullptr;

namespace {

const QString kPictureFilter = QStringLiteral(
    "All pictures (*.bmp *.dib *.jpg *.jpeg *.jpe *.jfif *.ico *.png *.gif);;Bitmaps (*.bmp "
    "*.dib);;"
    "JPEG pictures (*.jpg *.jpeg *.jpe *.jfif);;Icons (*.ico);;PNG pictures (*.png);;GIF pictures "
    "(*.gif)");

}  // namespace

TKavelin_Form::TKavelin_Form()
    : OpenPictureDialog1(this, QStringLiteral("OpenPictureDialog1"), TFileDialog::Kind::OpenPicture,
                         QStringLiteral("E:\\Kavelin\\Data\\DiscrimAnalysis")),
      OpenDialog1(this, QStringLiteral("OpenDialog1"), TFileDialog::Kind::Open),
      OpenPictureDialog2(this, QStringLiteral("OpenPictureDialog2"), TFileDialog::Kind::OpenPicture,
                         QStringLiteral("E:\\Kavelin\\Data\\AnalyseDeDensite")),
      SaveDialog1(this, QStringLiteral("SaveDialog1"), TFileDialog::Kind::Save,
                  QStringLiteral("E:\\Kavelin\\Data\\AnalyseDeDensite")),
      OpenDialog2(this, QStringLiteral("OpenDialog2"), TFileDialog::Kind::Open,
                  QStringLiteral(".\\Data\\SegmentationManager")) {
    SetUpWindow(this, "Kavelin_Form", QStringLiteral("Kavelin"), QRect(14, 84, 862, 626));
    OpenPictureDialog1.SetFilter(kPictureFilter);
    OpenPictureDialog2.SetFilter(kPictureFilter);

    Kavelin_Panel = new QWidget(this);
    Kavelin_Panel->setObjectName(QStringLiteral("Kavelin_Panel"));
    Kavelin_Panel->setGeometry(0, 0, 849, 585);
    Quitter_Button = MakeButton(Kavelin_Panel, "Quitter_Button", QStringLiteral("&Quit"),
                                QRect(760, 544, 75, 25));
    Button4 =
        MakeButton(Kavelin_Panel, "Button4", QStringLiteral("Test Local"), QRect(760, 512, 73, 25));
    PageControl1 = new TPageControl(Kavelin_Panel);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(8, 8, 681, 561);

    TextDistancePage = new TTextDistancePage;
    AnalysePicturePage = new TAnalysePicturePage(OpenPictureDialog1);
    SatPage = new TSatPage(OpenDialog1, SaveDialog1);
    GeneticPage = new TGeneticPage;
    SegmentationPage = new TSegmentationPage(OpenDialog2);
    DataRestructuratorPage = new TDataRestructuratorPage;
    TransformPicturePage = new TTransformPicturePage(OpenPictureDialog2, SaveDialog1);
    NeuronalNetworkPage = new TNeuronalNetworkPage;
    CaptureSonPage = new TCaptureSonPage;
    for (TPage* page : std::initializer_list<TPage*>{
             TextDistancePage, AnalysePicturePage, SatPage, GeneticPage, SegmentationPage,
             DataRestructuratorPage, TransformPicturePage, NeuronalNetworkPage, CaptureSonPage})
        PageControl1->AddPage(page, page->Caption());
    PageControl1->SetCurrentIndex(7);

    ConnectClick(Quitter_Button, [this] { Quitter_ButtonClick(); });
    ConnectClick(Button4, [this] { SatPage->Button4Click(); });
    // Escape anywhere in the window ends a running solve loop.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this,
            [this] { RunGuarded([this] { SatPage->InterruptSolve(); }); });
    // F12 shows the profiling window in front.
    connect(new QShortcut(QKeySequence(Qt::Key_F12), this), &QShortcut::activated, this, [] {
        RunGuarded([] {
            if (ChronoForm) ChronoForm->ShowProfile();
        });
    });
    // Like every handler: an error raised while the engines are built shows its box
    // and the window opens all the same.
    RunGuarded([this] { FormCreate(); }, "starting the program");
}

// What "&Quit" and the closing did not release goes with the members.
TKavelin_Form::~TKavelin_Form() = default;

void TKavelin_Form::FormCreate() {
    fChrono.Make();
    fSatSolver.Make(SatPage->SATSolver_StringGrid);
    fDataRestructurator.Make();
    NeuronalNetworkPage->NeuronalNetwork2_ButtonClick();
}

// A solve loop running under the closing window ends before its next step, and
// the solver leaves its name, so nothing steps or loads it from now on. The object
// itself goes with the window, once every handler has returned: a handler whose
// error box let the window close (a refused "&Load") is still running inside it.
void TKavelin_Form::FormClose() {
    SatPage->EndSolveForClose();
    fSatSolver.Withdraw();
}

void TKavelin_Form::IniFileReader_ButtonClick() {
    fIniManager.Make(LocalPath(".\\Data\\GeneralPArameters.ini"));
    Messenger.Send(IniManager->Get("Neurons", "Number"));
}

void TKavelin_Form::Quitter_ButtonClick() {
    fChrono.Release();
    close();
}

// Closing the main window by any means ends the program, whatever other windows
// are still shown.
void TKavelin_Form::closeEvent(QCloseEvent* event) {
    RunGuarded([this] { FormClose(); }, "closing the window");
    event->accept();
    QCoreApplication::quit();
}

// The wheel does nothing here: the event goes on unhandled, so the default
// behaviour applies.
void TKavelin_Form::wheelEvent(QWheelEvent* event) {
    event->ignore();
}
