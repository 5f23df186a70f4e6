// The main window: a menu bar, the panel with the page control, "&Quit" and
// "Test Local", and the status bar where the program speaks to the person. It
// builds the nine pages and owns the process-wide engine instances (Chrono,
// SatSolver, DataRestructurator, IniManager): it makes them, releases them when
// its handlers say so, and what is left goes with the window, the solver before
// the page grid it draws into.
#pragma once

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include "analysis/Data_Restructurator_Unit.h"
#include "app/Analyse_Picture_Page.h"
#include "app/Capture_Son_Page.h"
#include "app/Data_Restructurator_Page.h"
#include "app/Genetic_Page.h"
#include "app/Named_Instance.h"
#include "app/Neuronal_Network_Page.h"
#include "app/Sat_Page.h"
#include "app/Segmentation_Page.h"
#include "app/Text_Distance_Page.h"
#include "app/Transform_Picture_Page.h"
#include "common/Ini_Manager_Unit.h"
#include "diagnostics/Chrono_Unit.h"
#include "qt/Qt_File_Dialog.h"
#include "qt/Qt_Page_Control.h"
#include "qt/Qt_Status_Bar.h"
#include "solvers/SATSolver_Unit.h"

// The general parameters, as the last IniFileReader_ButtonClick read them.
extern TIniManager* IniManager;

class TKavelin_Form : public QMainWindow {
    Q_OBJECT
  public:
    TKavelin_Form();
    ~TKavelin_Form() override;

    // The area between the menu bar and the status bar, of the layout's size.
    QWidget* Kavelin_Client;
    QWidget* Kavelin_Panel;
    QPushButton* Quitter_Button;
    QPushButton* Button4;
    TPageControl* PageControl1;

    TFileDialog OpenPictureDialog1;
    TFileDialog OpenDialog1;
    TFileDialog OpenPictureDialog2;
    TFileDialog SaveDialog1;
    TFileDialog OpenDialog2;

    TTextDistancePage* TextDistancePage;
    TAnalysePicturePage* AnalysePicturePage;
    TSatPage* SatPage;
    TGeneticPage* GeneticPage;
    TSegmentationPage* SegmentationPage;
    TDataRestructuratorPage* DataRestructuratorPage;
    TTransformPicturePage* TransformPicturePage;
    TNeuronalNetworkPage* NeuronalNetworkPage;
    TCaptureSonPage* CaptureSonPage;

    QMenu* File_Menu;
    QAction* File_Quit_Action;
    QMenu* View_Menu;
    QAction* View_Trace_Action;
    QAction* View_Profiler_Action;
    QAction* View_Database_Action;
    QAction* View_Debug_Action;
    QMenu* Help_Menu;
    QAction* Help_Guide_Action;
    QAction* Help_About_Action;
    TStatusBar* Kavelin_StatusBar;

    void Quitter_ButtonClick();
    // "Test Local": a new random problem in the SAT page's memo, said in the
    // status bar when that page is not the one in view.
    void Button4Click();
    // Whether the program may end: when the SAT memo holds typed edits, the
    // person is asked to save them first; Cancel (or a save that did not happen)
    // keeps the program running.
    bool MayQuit();
    // Closes without the question: the window is already gone (destroyed by
    // another X client), so there is nothing left to keep running.
    void CloseWithoutAsking();
    // Bound to no control: reads "Number" of section "Neurons" of the general
    // parameters into the trace, through IniManager.
    void IniFileReader_ButtonClick();
    // Escape and the status bar's Stop: the run under way ends.
    void StopRun();
    // The guide window and the About box, made when first asked for.
    void ShowGuide();
    void ShowAbout();
    QWidget* GuideForm() const { return fGuide; }
    QWidget* AboutBox() const { return fAbout; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void BuildMenus();
    void FormCreate();
    void FormClose();

    // Released in the reverse order: the solver first.
    TNamedInstance<TChrono> fChrono{Chrono};
    TNamedInstance<TDataRestructurator> fDataRestructurator{DataRestructurator};
    TNamedInstance<TIniManager> fIniManager{IniManager};
    TNamedInstance<TSatSolver> fSatSolver{SatSolver};
    QPointer<QWidget> fGuide;
    QPointer<QWidget> fAbout;
    // "&Quit" has asked already: its close does not ask again.
    bool fQuitAsked = false;
};

// The main window while it exists; set and cleared by its owner (TProgramWindows).
extern TKavelin_Form* Kavelin_Form;
