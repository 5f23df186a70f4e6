// The main window: the panel with the page control, "&Quit" and "Test Local".
// It builds the nine pages and owns the process-wide engine instances (Chrono,
// SatSolver, DataRestructurator, IniManager): it makes them, releases them when
// its handlers say so, and what is left goes with the window, the solver before
// the page grid it draws into.
#pragma once

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
#include "solvers/SATSolver_Unit.h"

// The general parameters, as the last IniFileReader_ButtonClick read them.
extern TIniManager* IniManager;

class TKavelin_Form : public QWidget {
    Q_OBJECT
  public:
    TKavelin_Form();
    ~TKavelin_Form() override;

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

    void Quitter_ButtonClick();
    // Bound to no control: reads "Number" of section "Neurons" of the general
    // parameters into the trace, through IniManager.
    void IniFileReader_ButtonClick();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void FormCreate();
    void FormClose();

    // Released in the reverse order: the solver first.
    TNamedInstance<TChrono> fChrono{Chrono};
    TNamedInstance<TDataRestructurator> fDataRestructurator{DataRestructurator};
    TNamedInstance<TIniManager> fIniManager{IniManager};
    TNamedInstance<TSatSolver> fSatSolver{SatSolver};
};

// The main window while it exists; set and cleared by its owner (TProgramWindows).
extern TKavelin_Form* Kavelin_Form;
