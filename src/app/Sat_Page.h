// "SAT": random problems, constraint files and the relaxation search with its grid.
#pragma once

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/Page.h"
#include "qt/Frame_Pacer.h"
#include "qt/Qt_File_Dialog.h"
#include "qt/Qt_Memo.h"
#include "qt/Qt_String_Grid.h"
#include "qt/Qt_Up_Down.h"

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

  private:
    enum class TSolveStop { None, Interrupted, Closing };
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
};
