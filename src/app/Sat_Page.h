// "SAT": random problems, constraint files and the searches with their grid: the
// relaxation, probSAT and the complete solver, chosen in the "SAT" menu.
#pragma once

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <optional>
#include <vector>

#include "app/Page.h"
#include "qt/Frame_Pacer.h"
#include "qt/Qt_File_Dialog.h"
#include "qt/Qt_Memo.h"
#include "qt/Qt_String_Grid.h"
#include "qt/Qt_Up_Down.h"
#include "solvers/ProbSat_Unit.h"
#include "solvers/SATSolver_Unit.h"

class QAction;
class QMenu;
class QMenuBar;

// The method of "&Solve".
enum class TSatMethod { Relaxation, ProbSat, Cdcl };

class TSatPage : public TPage {
    Q_OBJECT
  public:
    TSatPage(TFileDialog& openDialog1, TFileDialog& saveDialog1);

    TMemo* SAT_Memo;
    QLineEdit* Sat_NbCl_Edit;
    TUpDown* Sat_NbCl_UpDown;
    QLineEdit* Sat_NbLit_Edit;
    TUpDown* SAT_NbLit_UpDown;
    QLineEdit* Sat_NbLitByCl_From_Edit;
    TUpDown* SAT_NbLitByCl_From_UpDown;
    QLineEdit* Sat_NbLitByCl_To_Edit;
    TUpDown* Sat_NbLitByCl_To_UpDown;
    QPushButton* SAT_OpenConstraintFile_Button;
    QPushButton* SAT_SaveToConstraintFile_Button;
    QPushButton* SAT_CheckIntegrity_Button;
    QPushButton* SAT_Random_Generation_Button;
    QPushButton* SAT_Load_Button;
    QPushButton* SAT_Solve_Button;
    TStringGridControl* SATSolver_StringGrid;

    // "Random Generation" here and "Test Local" of the main window. True when
    // the memo received a new problem (false: the arguments were refused).
    bool Button4Click();
    void SAT_OpenConstraintFile_ButtonClick();
    // True when the memo's text was written (false: the dialog was cancelled, or
    // a DIMACS name was given for a memo whose constraint text is refused).
    bool SAT_SaveToConstraintFile_ButtonClick();
    void SAT_CheckIntegrity_ButtonClick();
    void SAT_Load_ButtonClick();
    void SAT_Solve_ButtonClick();

    // Whether a solve loop is running (the loop lets other handlers run between
    // its steps, a second "&Solve" among them).
    bool IsSolving() const { return fSolveDepth > 0; }
    // Escape: every running solve loop ends after the step under way, and the
    // trace shows "Solve interrupted". Nothing happens when no loop runs.
    void InterruptSolve();
    // The main window is closing: every running solve loop ends before its next
    // step, so that the solver can be released.
    void EndSolveForClose();
    // One pass of the solve loop: the pending messages when they are due, then
    // one step, unless the messages ended the loop (false then).
    bool SolvePass();
    // Steps of the running solve (the outermost loop's, nested ones included).
    qint64 SolveSteps() const { return fSolveSteps; }

    // The "SAT" menu, added to the main window's menu bar: the method of
    // "&Solve" (kept between starts) and "Show the model".
    QMenu* BuildMenu(QMenuBar* bar);
    QMenu* SAT_Menu = nullptr;
    QAction* SAT_Relaxation_Action = nullptr;
    QAction* SAT_ProbSat_Action = nullptr;
    QAction* SAT_Cdcl_Action = nullptr;
    QAction* SAT_ShowModel_Action = nullptr;

    TSatMethod Method() const { return fMethod; }
    // Chooses the method of the next "&Solve" and keeps it in the settings.
    void SetMethod(TSatMethod method);
    // The model that the last satisfiable check or complete solve found, as
    // solution lines in the trace; the status bar says when there is none.
    void ShowModel();
    bool HasModel() const { return !fModel.empty(); }

    // How long the complete solver may take on the page, in seconds.
    static constexpr double kCompleteTimeLimit = 60;

  private:
    enum class TSolveStop { None, Interrupted, Closing };
    // The method's step and end test, for the running loop.
    void StepSearch();
    bool SearchFinished() const;
    // "&Solve" with the complete solver: one run as long work, its verdict shown.
    void SolveWithCdcl();
    // The problem the solver holds.
    TSatProblem LoadedProblem() const;
    bool LoadedIsProvedUnsatisfiable() const;
    void SayMethod();
    // The status bar's word when the outermost solve loop ends.
    void SayHowTheSolveEnded();
    // The status bar's line while a solve runs, at the screen's pace.
    void ShowSolveProgress();

    TFileDialog& OpenDialog1;
    TFileDialog& SaveDialog1;
    static constexpr qint64 kMessagesEveryNs = 1000000;
    int fSolveDepth = 0;
    QElapsedTimer fMessagesRun;
    TSolveStop fSolveStop = TSolveStop::None;
    qint64 fSolveSteps = 0;
    TFramePacer fProgressPacer{this, [this] { ShowSolveProgress(); }};
    TSatMethod fMethod = TSatMethod::Relaxation;
    TSatMethod fRunMethod = TSatMethod::Relaxation;  // the running loop's
    std::unique_ptr<TProbSat> fProbSat;              // made by the loop, dropped by Load
    bool fSolvingUnsatisfiable = false;
    std::optional<TSatProblem> fProvedUnsatisfiable;  // by the check or the complete solve
    TSatProblem fModelProblem;
    std::vector<bool> fModel;
};
