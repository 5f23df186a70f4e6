#include "app/Kavelin_Unit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QShortcut>
#include <QWheelEvent>

#include "analysis/Data_Restructurator_Unit.h"
#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/Help_Forms.h"
#include "app/MyDatabase_Form.h"
#include "app/Trace_Form.h"
#include "app/Window_Places.h"
#include "common/Ini_Manager_Unit.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Paths.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"
#include "qt/Qt_Message_Box.h"
#include "qt/Text_Codec.h"
#include "solvers/SATSolver_Unit.h"

TKavelin_Form* Kavelin_Form = nullptr;
TIniManager* IniManager = nullptr;

namespace {

const QString kPictureFilter = QStringLiteral(
    "All pictures (*.bmp *.dib *.jpg *.jpeg *.jpe *.jfif *.ico *.png *.gif);;Bitmaps (*.bmp "
    "*.dib);;"
    "JPEG pictures (*.jpg *.jpeg *.jpe *.jfif);;Icons (*.ico);;PNG pictures (*.png);;GIF pictures "
    "(*.gif);;All files (*)");
const QString kConstraintFilter =
    QStringLiteral("Constraint files (*.txt *.ini);;DIMACS (*.cnf);;All files (*)");

}  // namespace

TKavelin_Form::TKavelin_Form()
    : OpenPictureDialog1(this, QStringLiteral("OpenPictureDialog1"), TFileDialog::Kind::OpenPicture,
                         QStringLiteral("E:\\Kavelin\\Data\\DiscrimAnalysis")),
      OpenDialog1(this, QStringLiteral("OpenDialog1"), TFileDialog::Kind::Open),
      OpenPictureDialog2(this, QStringLiteral("OpenPictureDialog2"), TFileDialog::Kind::OpenPicture,
                         QStringLiteral("E:\\Kavelin\\Data\\AnalyseDeDensite")),
      SaveDialog1(this, QStringLiteral("SaveDialog1"), TFileDialog::Kind::Save,
                  QStringLiteral(".\\Data\\SATSolver")),
      OpenDialog2(this, QStringLiteral("OpenDialog2"), TFileDialog::Kind::Open,
                  QStringLiteral(".\\Data\\SegmentationManager")) {
    SetUpWindow(this, "Kavelin_Form", QStringLiteral("Kavelin"), QRect(14, 84, 862, 626));
    OpenPictureDialog1.SetTitle(QStringLiteral("Picture to analyse"));
    OpenPictureDialog1.SetFilter(kPictureFilter);
    OpenDialog1.SetTitle(QStringLiteral("Constraint file to open"));
    OpenDialog1.SetFilter(kConstraintFilter);
    OpenPictureDialog2.SetTitle(QStringLiteral("Picture to transform"));
    OpenPictureDialog2.SetFilter(kPictureFilter);
    // The SAT page's "&Save"; the transform page asks for its points file with it too.
    SaveDialog1.SetTitle(QStringLiteral("Constraint file to save"));
    SaveDialog1.SetFilter(kConstraintFilter);
    OpenDialog2.SetTitle(QStringLiteral("Data file to load"));
    OpenDialog2.SetFilter(QStringLiteral("Text files (*.txt);;All files (*)"));

    // The layout's client area sits between the two bars, at its own size: the
    // window grows by the bars and cannot be made smaller than its controls.
    Kavelin_Client = new QWidget(this);
    Kavelin_Client->setObjectName(QStringLiteral("Kavelin_Client"));
    Kavelin_Client->setFixedSize(862, 626);
    setCentralWidget(Kavelin_Client);
    Kavelin_Panel = new QWidget(Kavelin_Client);
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

    Kavelin_StatusBar = new TStatusBar(this);
    setStatusBar(Kavelin_StatusBar);
    Kavelin_StatusBar->Say(QStringLiteral("Ready: F1 opens the guide"));
    BuildMenus();
    resize(862, 626 + menuBar()->sizeHint().height() + Kavelin_StatusBar->sizeHint().height());

    ConnectClick(Quitter_Button, [this] { Quitter_ButtonClick(); });
    ConnectClick(Button4, [this] { Button4Click(); });
    // Escape anywhere in the window, or Stop in the status bar, ends a running
    // solve loop.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] { RunGuarded([this] { StopRun(); }); });
    connect(Kavelin_StatusBar, &TStatusBar::StopWanted, this,
            [this] { RunGuarded([this] { StopRun(); }); });
    // Like every handler: an error raised while the engines are built shows its box
    // and the window opens all the same.
    RunGuarded([this] { FormCreate(); }, "starting the program");
}

namespace {

// Shows a window and brings it to the front.
void ShowInFront(QWidget* window) {
    if (!window) return;
    window->show();
    window->raise();
    window->activateWindow();
}

// A menu item that runs `handler` inside the error guard, with its shortcut
// working in every window of the program.
QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys,
                 std::function<void()> handler) {
    auto* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    QObject::connect(action, &QAction::triggered, action, [caption, handler = std::move(handler)] {
        RunGuarded(handler,
                   "handling the menu item \"" + FromQt(QString(caption).remove(u'&')) + "\"");
    });
    return action;
}

}  // namespace

// The menus take letters that no button of a page uses, so that Alt and a
// letter keeps pressing the page's button.
void TKavelin_Form::BuildMenus() {
    File_Menu = menuBar()->addMenu(QStringLiteral("&File"));
    File_Menu->setObjectName(QStringLiteral("File_Menu"));
    File_Quit_Action =
        AddItem(File_Menu, "File_Quit_Action", QStringLiteral("&Quit"),
                QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { Quitter_ButtonClick(); });

    View_Menu = menuBar()->addMenu(QStringLiteral("&View"));
    View_Menu->setObjectName(QStringLiteral("View_Menu"));
    View_Trace_Action = AddItem(View_Menu, "View_Trace_Action", QStringLiteral("&Trace"),
                                QKeySequence(Qt::CTRL | Qt::Key_T), [] { ShowInFront(TraceForm); });
    View_Profiler_Action = AddItem(View_Menu, "View_Profiler_Action", QStringLiteral("&Profiler"),
                                   QKeySequence(Qt::Key_F12), [] {
                                       if (ChronoForm) ChronoForm->ShowProfile();
                                   });
    View_Database_Action = AddItem(View_Menu, "View_Database_Action", QStringLiteral("&Database"),
                                   {}, [] { ShowInFront(MyDatabase_Form); });
    View_Debug_Action = AddItem(View_Menu, "View_Debug_Action", QStringLiteral("De&bug"), {},
                                [] { ShowInFront(Debug_Form); });
    // Each item is checked while its window shows; choosing it never hides the
    // window, it brings it to the front.
    using TWindowName = QWidget* (*)();
    const std::vector<std::pair<QAction*, TWindowName>> windowOf{
        {View_Trace_Action, []() -> QWidget* { return TraceForm; }},
        {View_Profiler_Action, []() -> QWidget* { return ChronoForm; }},
        {View_Database_Action, []() -> QWidget* { return MyDatabase_Form; }},
        {View_Debug_Action, []() -> QWidget* { return Debug_Form; }}};
    for (const auto& [action, window] : windowOf) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [action] { action->setChecked(true); });
    }
    connect(View_Menu, &QMenu::aboutToShow, this, [windowOf] {
        for (const auto& [action, window] : windowOf)
            action->setChecked(window() && window()->isVisible());
    });

    SatPage->BuildMenu(menuBar());

    Help_Menu = menuBar()->addMenu(QStringLiteral("&Help"));
    Help_Menu->setObjectName(QStringLiteral("Help_Menu"));
    Help_Guide_Action = AddItem(Help_Menu, "Help_Guide_Action", QStringLiteral("Kavelin &Guide"),
                                QKeySequence(Qt::Key_F1), [this] { ShowGuide(); });
    Help_About_Action = AddItem(Help_Menu, "Help_About_Action", QStringLiteral("&About Kavelin"),
                                {}, [this] { ShowAbout(); });
}

void TKavelin_Form::ShowGuide() {
    if (!fGuide) fGuide = new TGuideForm(this);
    ShowInFront(fGuide);
}

void TKavelin_Form::ShowAbout() {
    if (!fAbout) fAbout = new TAboutBox(this);
    ShowInFront(fAbout);
}

void TKavelin_Form::StopRun() {
    SatPage->InterruptSolve();
    TLongWork::StopCurrent();
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

void TKavelin_Form::Button4Click() {
    if (SatPage->Button4Click() && PageControl1->CurrentPage() != SatPage)
        ProgramStatus::Say(QStringLiteral(
            "A new random problem is in the SAT page's memo; Ctrl+Z there undoes it"));
}

bool TKavelin_Form::MayQuit() {
    if (!SatPage->SAT_Memo->HasTypedEdits()) return true;
    switch (AskToSaveMessageBox("Save the SAT problem?")) {
        case TSaveChoice::Save:
            return SatPage->SAT_SaveToConstraintFile_ButtonClick();
        case TSaveChoice::Discard:
            return true;
        case TSaveChoice::Cancel:
            break;
    }
    return false;
}

void TKavelin_Form::CloseWithoutAsking() {
    fQuitAsked = true;
    close();
}

// Asked before anything is released: Cancel leaves the program as it was.
void TKavelin_Form::Quitter_ButtonClick() {
    if (!MayQuit()) return;
    fQuitAsked = true;
    fChrono.Release();
    close();
}

// Closing the main window by any means ends the program, whatever other windows
// are still shown, unless the person keeps typed work (then nothing is released
// and the window stays). A save that raises an error shows its box and keeps
// the program running too.
void TKavelin_Form::closeEvent(QCloseEvent* event) {
    bool mayQuit = std::exchange(fQuitAsked, false);
    if (!mayQuit) RunGuarded([this, &mayQuit] { mayQuit = MayQuit(); }, "asking to save");
    if (!mayQuit) {
        event->ignore();
        return;
    }
    RunGuarded(
        [this] {
            std::vector<QWidget*> windows{this};
            for (QWidget* window : std::initializer_list<QWidget*>{TraceForm, ChronoForm,
                                                                   MyDatabase_Form, Debug_Form})
                if (window) windows.push_back(window);
            SaveWindowPlaces(windows);
        },
        "saving the places of the windows");
    RunGuarded([this] { FormClose(); }, "closing the window");
    event->accept();
    QCoreApplication::quit();
}

// The wheel does nothing here: the event goes on unhandled, so the default
// behaviour applies.
void TKavelin_Form::wheelEvent(QWheelEvent* event) {
    event->ignore();
}
