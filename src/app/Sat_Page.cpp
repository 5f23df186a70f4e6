#include "app/Sat_Page.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include "app/Trace_Form.h"
#include "base/Real_Format.h"
#include "diagnostics/TraceUnit.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Long_Work.h"
#include "qt/Qt_Message_Box.h"
#include "qt/Qt_Status_Bar.h"
#include "qt/Text_Codec.h"
#include "solvers/Complete_Solver_Unit.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/SATSolver_Unit.h"

namespace {

// 1234 as "1,234".
QString Grouped(qint64 n) {
    return QLocale(QLocale::English).toString(n);
}

QString Steps(qint64 n) {
    return Grouped(n) + (n == 1 ? QStringLiteral(" step") : QStringLiteral(" steps"));
}

// An edit with its up-down of range 0 to 100 beside it.
TUpDown* MakeEditWithUpDown(QWidget* parent, const char* editName, const char* upDownName,
                            QRect edit, QRect upDown, int position, QLineEdit*& editControl) {
    editControl = MakeEdit(parent, editName, QString(), edit);
    auto* control = new TUpDown(parent, editControl, 0, 100, position);
    control->setObjectName(QString::fromLatin1(upDownName));
    control->setGeometry(upDown);
    return control;
}

const QString kMethodKey = QStringLiteral("SAT/Method");

// The methods as the settings and the menu name them.
QString MethodName(TSatMethod method) {
    switch (method) {
        case TSatMethod::ProbSat:
            return QStringLiteral("probSAT");
        case TSatMethod::Cdcl:
            return QStringLiteral("CaDiCaL");
        case TSatMethod::Relaxation:
            break;
    }
    return QStringLiteral("Relaxation");
}

TSatMethod MethodNamed(const QString& name) {
    if (name == MethodName(TSatMethod::ProbSat)) return TSatMethod::ProbSat;
    if (name == MethodName(TSatMethod::Cdcl)) return TSatMethod::Cdcl;
    return TSatMethod::Relaxation;
}

QString VerdictText(const TCompleteResult& result) {
    if (result.Failed) return QStringLiteral("Unknown: the solver failed (see the error)");
    switch (result.Verdict) {
        case TSatVerdict::Satisfiable:
            return QStringLiteral("Satisfiable");
        case TSatVerdict::Unsatisfiable:
            return QStringLiteral("Unsatisfiable");
        case TSatVerdict::Unknown:
            break;
    }
    return QStringLiteral("Unknown: limit reached");
}

// The complete solver on `problem` as long work called `work`, which Escape and
// Stop end with the trace line "<work> interrupted"; the verdict, or the stop,
// is the status bar's last word.
TCompleteResult DecideAsLongWork(const TSatProblem& problem, const char* work) {
    TLongWork longWork(QString::fromLatin1(work));
    TCompleteOptions options;
    options.TimeLimitSeconds = TSatPage::kCompleteTimeLimit;
    options.WorkName = work;
    TCompleteResult result = SolveComplete(problem, options, longWork);
    const QString verdict = result.Interrupted
                                ? QString::fromLatin1(work) + QStringLiteral(" interrupted")
                                : VerdictText(result);
    longWork.SetEndText(verdict);
    if (!result.Interrupted) ProgramStatus::Say(verdict);
    return result;
}

// "Solution trouvée"-style lines of a model: one per variable.
void SendModel(const std::vector<bool>& model) {
    for (size_t v = 1; v < model.size(); ++v)
        Messenger.Send("Literal " + IntToStr(static_cast<int64_t>(v)) +
                       (model[v] ? " true" : " false"));
}

}  // namespace

TSatPage::TSatPage(TFileDialog& openDialog1, TFileDialog& saveDialog1)
    : TPage("TabSheet3", QStringLiteral("SAT")),
      OpenDialog1(openDialog1),
      SaveDialog1(saveDialog1) {
    SAT_Memo = MakeMemo(this, "SAT_Memo", QRect(0, 0, 169, 361), TScrollBars::Both);
    QGroupBox* box3 =
        MakeGroupBox(this, "GroupBox3", QStringLiteral("Nb Clauses"), QRect(176, 16, 97, 49));
    Sat_NbCl_UpDown =
        MakeEditWithUpDown(box3, "Sat_NbCl_Edit", "Sat_NbCl_UpDown", QRect(16, 20, 41, 21),
                           QRect(57, 20, 16, 21), 80, Sat_NbCl_Edit);
    QGroupBox* box1 =
        MakeGroupBox(this, "GroupBox1", QStringLiteral("Nb of Literals"), QRect(280, 16, 97, 49));
    SAT_NbLit_UpDown =
        MakeEditWithUpDown(box1, "Sat_NbLit_Edit", "SAT_NbLit_UpDown", QRect(16, 20, 41, 21),
                           QRect(57, 20, 16, 21), 24, Sat_NbLit_Edit);
    QGroupBox* box2 = MakeGroupBox(this, "GroupBox2", QStringLiteral("Nb Literals  By Clause"),
                                   QRect(384, 8, 137, 65));
    MakeLabel(box2, "Label1", QStringLiteral("From"), {8, 16});
    SAT_NbLitByCl_From_UpDown = MakeEditWithUpDown(
        box2, "Sat_NbLitByCl_From_Edit", "SAT_NbLitByCl_From_UpDown", QRect(8, 32, 33, 21),
        QRect(41, 32, 16, 21), 10, Sat_NbLitByCl_From_Edit);
    MakeLabel(box2, "Label2", QStringLiteral("To"), {64, 16});
    Sat_NbLitByCl_To_UpDown = MakeEditWithUpDown(box2, "Sat_NbLitByCl_To_Edit",
                                                 "Sat_NbLitByCl_To_UpDown", QRect(64, 32, 41, 21),
                                                 QRect(105, 32, 16, 21), 16, Sat_NbLitByCl_To_Edit);
    SAT_OpenConstraintFile_Button = MakeButton(this, "SAT_OpenConstraintFile_Button",
                                               QStringLiteral("&Open"), QRect(176, 80, 75, 25));
    SAT_SaveToConstraintFile_Button = MakeButton(this, "SAT_SaveToConstraintFile_Button",
                                                 QStringLiteral("&Save"), QRect(176, 112, 75, 25));
    SAT_CheckIntegrity_Button =
        MakeButton(this, "SAT_CheckIntegrity_Button", QStringLiteral("&Check Integrity"),
                   QRect(392, 80, 113, 25));
    SAT_Random_Generation_Button =
        MakeButton(this, "SAT_Random_Generation_Button", QStringLiteral("Random Generation"),
                   QRect(536, 8, 113, 25));
    SAT_Load_Button =
        MakeButton(this, "SAT_Load_Button", QStringLiteral("Load"), QRect(536, 40, 113, 25));
    SAT_Solve_Button =
        MakeButton(this, "SAT_Solve_Button", QStringLiteral("&Solve"), QRect(534, 72, 115, 25));
    // The memo holds the person's problem: the program's replacements can be undone.
    SAT_Memo->SetReplacementsUndoable(true);
    SATSolver_StringGrid = new TStringGridControl(this, 5, 5);
    SATSolver_StringGrid->setObjectName(QStringLiteral("SATSolver_StringGrid"));
    SATSolver_StringGrid->setGeometry(264, 120, 401, 393);
    const int heights[] = {24, 24, 24, 13, 24};
    for (int row = 0; row < 5; ++row) SATSolver_StringGrid->setRowHeight(row, heights[row]);

    ConnectClick(SAT_OpenConstraintFile_Button, [this] { SAT_OpenConstraintFile_ButtonClick(); });
    ConnectClick(SAT_SaveToConstraintFile_Button,
                 [this] { SAT_SaveToConstraintFile_ButtonClick(); });
    ConnectClick(SAT_CheckIntegrity_Button, [this] { SAT_CheckIntegrity_ButtonClick(); });
    ConnectClick(SAT_Random_Generation_Button, [this] { Button4Click(); });
    ConnectClick(SAT_Load_Button, [this] { SAT_Load_ButtonClick(); });
    ConnectClick(SAT_Solve_Button, [this] { SAT_Solve_ButtonClick(); });
    fMethod = MethodNamed(QSettings().value(kMethodKey).toString());
}

QMenu* TSatPage::BuildMenu(QMenuBar* bar) {
    SAT_Menu = bar->addMenu(QStringLiteral("SAT"));
    SAT_Menu->setObjectName(QStringLiteral("SAT_Menu"));
    auto* methods = new QActionGroup(SAT_Menu);
    const auto addMethod = [this, methods](const char* name, TSatMethod method) {
        QAction* action = SAT_Menu->addAction(MethodName(method));
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(true);
        action->setChecked(fMethod == method);
        methods->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, method] { RunGuarded([this, method] { SetMethod(method); }); });
        return action;
    };
    SAT_Relaxation_Action = addMethod("SAT_Relaxation_Action", TSatMethod::Relaxation);
    SAT_ProbSat_Action = addMethod("SAT_ProbSat_Action", TSatMethod::ProbSat);
    SAT_Cdcl_Action = addMethod("SAT_Cdcl_Action", TSatMethod::Cdcl);
    SAT_Menu->addSeparator();
    SAT_ShowModel_Action = SAT_Menu->addAction(QStringLiteral("Show the model"));
    SAT_ShowModel_Action->setObjectName(QStringLiteral("SAT_ShowModel_Action"));
    connect(SAT_ShowModel_Action, &QAction::triggered, this,
            [this] { RunGuarded([this] { ShowModel(); }); });
    return SAT_Menu;
}

void TSatPage::SetMethod(TSatMethod method) {
    fMethod = method;
    QSettings().setValue(kMethodKey, MethodName(method));
    for (const auto& [action, itsMethod] :
         {std::pair{SAT_Relaxation_Action, TSatMethod::Relaxation},
          std::pair{SAT_ProbSat_Action, TSatMethod::ProbSat},
          std::pair{SAT_Cdcl_Action, TSatMethod::Cdcl}})
        if (action) action->setChecked(itsMethod == method);
    SayMethod();
}

void TSatPage::SayMethod() {
    ProgramStatus::Say(QStringLiteral("Solve runs %1").arg(MethodName(fMethod)));
}

void TSatPage::ShowModel() {
    if (fModel.empty()) {
        ProgramStatus::Say(QStringLiteral("No model: Check Integrity has found none yet"));
        return;
    }
    Messenger.Send("Model of " + IntToStr(static_cast<int64_t>(fModelProblem.Clauses.size())) +
                   " clauses over " + IntToStr(fModelProblem.VariableCount) + " variables");
    SendModel(fModel);
    ProgramStatus::Say(QStringLiteral("The model is in the trace: %1 variables")
                           .arg(Grouped(fModelProblem.VariableCount)));
}

TSatProblem TSatPage::LoadedProblem() const {
    return SatSolver ? TSatProblem{SatSolver->VariableCount(), SatSolver->Clauses()}
                     : TSatProblem{};
}

bool TSatPage::LoadedIsProvedUnsatisfiable() const {
    return SatSolver && SatSolver->HasProblem() && fProvedUnsatisfiable &&
           fProvedUnsatisfiable->VariableCount == SatSolver->VariableCount() &&
           fProvedUnsatisfiable->Clauses == SatSolver->Clauses();
}

bool TSatPage::Button4Click() {
    return SatSolver &&
           SatSolver->Generate(Sat_NbCl_UpDown->Position(), SAT_NbLit_UpDown->Position(),
                               SAT_NbLitByCl_From_UpDown->Position(),
                               Sat_NbLitByCl_To_UpDown->Position(), *SAT_Memo);
}

// A ".cnf" file is DIMACS: the memo receives the equivalent constraint text, or
// stays as it was when the file is refused. Any other file is read line by line.
void TSatPage::SAT_OpenConstraintFile_ButtonClick() {
    OpenDialog1.SetInitialDir(QStringLiteral(".\\Data\\SATSolver\\"));
    if (!OpenDialog1.Execute()) return;
    const std::string fileName = QFile::encodeName(OpenDialog1.FileName()).toStdString();
    if (!IsDimacsFileName(fileName)) {
        TLongWork work(QStringLiteral("Open"));
        SAT_Memo->LoadFromFile(fileName, work);
        return;
    }
    TLineList lines;
    lines.LoadFromFile(fileName);
    TSatProblem problem;
    if (!ReadDimacs(lines, fileName, problem)) return;
    // A competition file's clauses become five lines each or so: a long fill.
    TLongWork work(QStringLiteral("Open"));
    SAT_Memo->Assign(ConstraintLines(problem), work);
}

// A ".cnf" name receives the memo's problem in DIMACS; a memo whose constraint
// text is refused writes nothing. Any other name receives the memo's lines.
bool TSatPage::SAT_SaveToConstraintFile_ButtonClick() {
    if (!SaveDialog1.Execute()) return false;
    const std::string fileName = QFile::encodeName(SaveDialog1.FileName()).toStdString();
    if (!IsDimacsFileName(fileName)) {
        SAT_Memo->SaveToFile(fileName);
    } else {
        TSatProblem problem;
        if (!ReadConstraintText(*SAT_Memo, "SAT_Memo", problem)) return false;
        TLineList(DimacsLines(problem)).SaveToFile(fileName);
    }
    SAT_Memo->MarkUnmodified();
    return true;
}

// The memo's problem, read as "Load" reads it but left out of the solver: what it
// holds, then the complete solver's verdict, in the trace and the status bar.
void TSatPage::SAT_CheckIntegrity_ButtonClick() {
    TSatProblem problem;
    if (!ReadConstraintText(*SAT_Memo, "SAT_Memo", problem)) {
        ProgramStatus::Say(
            QStringLiteral("Nothing checked: the SAT memo holds no complete problem"));
        return;
    }
    const TSatCensus census = CensusOf(problem);
    Messenger.Send("Check Integrity: " + IntToStr(census.Clauses) + " clauses, " +
                   IntToStr(census.Variables) + " variables, " + IntToStr(census.Literals) +
                   " literals, " + IntToStr(census.EmptyClauses) + " empty clauses, " +
                   IntToStr(census.RepeatedLiterals) + " repeated literals, " +
                   IntToStr(census.Tautologies) + " tautologies");
    const TCompleteResult result = DecideAsLongWork(problem, "Check Integrity");
    if (!result.Interrupted && !result.Failed) Messenger.Send(FromQt(VerdictText(result)));
    if (result.Verdict == TSatVerdict::Satisfiable) {
        fModelProblem = problem;
        fModel = result.Model;
    }
    if (result.Verdict == TSatVerdict::Unsatisfiable) fProvedUnsatisfiable = std::move(problem);
}

// A refused text has shown its box; a text without "Clause Number" says nothing
// of its own, and the problem loaded before stays.
void TSatPage::SAT_Load_ButtonClick() {
    if (!SatSolver) return;
    // A probSAT run under way starts again on the new problem at its next step.
    fProbSat.reset();
    if (!SatSolver->LoadFromLines(*SAT_Memo)) {
        ProgramStatus::Say(
            QStringLiteral("Nothing loaded: the SAT memo holds no complete problem"));
        return;
    }
    SAT_Memo->MarkUnmodified();
    ProgramStatus::Say(QStringLiteral("Loaded %1 clauses over %2 variables")
                           .arg(Grouped(qint64(SatSolver->Clauses().size())),
                                Grouped(SatSolver->VariableCount())));
}

// Let the pending messages run, one step; until the problem is solved, at least
// one step. The messages may end the loop (Escape, the main window closing),
// which is checked before each step: the solver is never stepped once the window
// has released it. The messages include the paints: the grid and the trace's
// status line reach the screen at its pace (a frame at most every 16 ms), not at
// every step, and the last step's state is shown whole when the loop ends.
//
// Without a problem there is nothing to search: the page says so and runs nothing.
void TSatPage::SAT_Solve_ButtonClick() {
    if (!SatSolver || !SatSolver->HasProblem()) {
        Messenger.Warning("No problem loaded: press Load first");
        ProgramStatus::Say(QStringLiteral("No problem loaded: press Load first"));
        return;
    }
    if (fSolveDepth == 0 && fMethod == TSatMethod::Cdcl) {
        SolveWithCdcl();
        return;
    }
    if (fSolveDepth == 0) {
        fSolveStop = TSolveStop::None;
        fSolveSteps = 0;
        fRunMethod = fMethod;
        fProbSat.reset();
        fSolvingUnsatisfiable = LoadedIsProvedUnsatisfiable();
    }
    ++fSolveDepth;
    struct TDepth {
        TSatPage& page;
        ~TDepth() {
            --page.fSolveDepth;
            if (page.fSolveDepth == 0) {
                if (TraceForm) TraceForm->Text()->SetPaced(false);
                if (SatSolver) SatSolver->SetDisplayPaced(false);
                page.SayHowTheSolveEnded();
            }
            if (page.fSolveStop != TSolveStop::Closing) page.SATSolver_StringGrid->Repaint();
        }
    } depth{*this};
    fMessagesRun.invalidate();
    if (fSolveDepth == 1) {
        ProgramStatus::RunStarts(QStringLiteral("Solve"), true);
        if (fSolvingUnsatisfiable)
            ProgramStatus::Say(QStringLiteral(
                "Check Integrity proved this problem unsatisfiable: the search cannot end "
                "(Esc to stop)"));
    }
    if (TraceForm) TraceForm->Text()->SetPaced(true);
    if (SatSolver) SatSolver->SetDisplayPaced(true);
    while (SolvePass() && !SearchFinished()) {
    }
}

void TSatPage::StepSearch() {
    if (fRunMethod != TSatMethod::ProbSat) {
        SatSolver->Step();
        return;
    }
    if (!fProbSat) fProbSat = std::make_unique<TProbSat>(LoadedProblem(), SatSolver);
    fProbSat->Step();
}

bool TSatPage::SearchFinished() const {
    if (!SatSolver) return true;
    if (fRunMethod == TSatMethod::ProbSat && fProbSat) return fProbSat->IsFinished();
    return SatSolver->IsFinished();
}

// The complete solver on the loaded problem, as long work that Escape and Stop
// end: a model becomes the solver's values (0 and 1) with the solution lines, as
// a search that ends shows it; an unsatisfiable problem is said so.
void TSatPage::SolveWithCdcl() {
    const TSatProblem problem = LoadedProblem();
    const TCompleteResult result = DecideAsLongWork(problem, "Solve");
    // The problem may have been replaced, or the solver released, meanwhile.
    if (!SatSolver || LoadedProblem() != problem) return;
    switch (result.Verdict) {
        case TSatVerdict::Satisfiable:
            for (int32_t v = 1; v <= problem.VariableCount; ++v)
                SatSolver->SetTruth(v, result.Model[static_cast<size_t>(v)]);
            SatSolver->ShowSolution();
            SatSolver->ShowValues();
            SATSolver_StringGrid->Repaint();
            fModelProblem = problem;
            fModel = result.Model;
            break;
        case TSatVerdict::Unsatisfiable:
            Messenger.Send("Unsatisfiable");
            fProvedUnsatisfiable = problem;
            break;
        case TSatVerdict::Unknown:
            if (!result.Interrupted && !result.Failed) Messenger.Send("Unknown: limit reached");
            break;
    }
}

// A pass over the window's messages costs more than a step of a small problem, so
// they run when a millisecond has passed since the last pass: a click or a key is
// still answered within a millisecond or two. The grid is coloured for the
// newest step before them, since a paint may be among them.
bool TSatPage::SolvePass() {
    if (!fMessagesRun.isValid() || fMessagesRun.nsecsElapsed() >= kMessagesEveryNs) {
        if (SatSolver) SatSolver->ShowValues();
        fProgressPacer.Request();
        QCoreApplication::processEvents();
        fMessagesRun.start();
    }
    if (fSolveStop != TSolveStop::None || !SatSolver) return false;
    StepSearch();
    ++fSolveSteps;
    return true;
}

void TSatPage::ShowSolveProgress() {
    fProgressPacer.RunningNow();
    if (fSolveDepth == 0 || !SatSolver) return;
    const QString progress = QStringLiteral("Solving: %1, %2 of %3 clauses valid (Esc to stop)")
                                 .arg(Steps(fSolveSteps), Grouped(SatSolver->ValidClauseCount()),
                                      Grouped(qint64(SatSolver->Clauses().size())));
    ProgramStatus::Say(fSolvingUnsatisfiable ? QStringLiteral("Unsatisfiable problem. ") + progress
                                             : progress);
}

void TSatPage::InterruptSolve() {
    if (fSolveDepth == 0 || fSolveStop != TSolveStop::None) return;
    fSolveStop = TSolveStop::Interrupted;
    Messenger.Send("Solve interrupted");
}

void TSatPage::SayHowTheSolveEnded() {
    if (fSolveStop == TSolveStop::Closing) return;
    if (!SatSolver) {
        ProgramStatus::RunEnds();
        return;
    }
    const QString valid = Grouped(SatSolver->ValidClauseCount());
    const QString clauses = Grouped(qint64(SatSolver->Clauses().size()));
    if (fSolveStop == TSolveStop::None && SearchFinished())
        ProgramStatus::RunEnds(QStringLiteral("Solved in %1: %2 of %3 clauses valid")
                                   .arg(Steps(fSolveSteps), valid, clauses));
    else
        ProgramStatus::RunEnds(QStringLiteral("Stopped after %1: %2 of %3 valid")
                                   .arg(Steps(fSolveSteps), valid, clauses));
}

void TSatPage::EndSolveForClose() {
    if (fSolveDepth > 0) fSolveStop = TSolveStop::Closing;
}
