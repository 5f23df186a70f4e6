// The "SAT" page: generation, loading, the solve loop with its live grid, the
// ways the loop ends (solution, Escape, the main window closing) and DIMACS files.
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <filesystem>

#include "app/Segmentation_Page.h"
#include "app/Trace_Form.h"
#include "base/File_Io.h"
#include "common/Random_Source.h"
#include "diagnostics/Chrono_Unit.h"
#include "solvers/Dimacs_Unit.h"
#include "solvers/SATSolver_Unit.h"
#include "solvers/Sat_Problems.h"
#include "solvers/Sat_Solution.h"
#include "support/Window_Fixture.h"

namespace fs = std::filesystem;

namespace {

std::string DataFile(const std::string& name) {
    return std::string(KAVELIN_TEST_DATA) + "/sat/" + name;
}

std::vector<std::string> TraceLines() {
    return TraceForm->RichEdit1->ToVector();
}

const std::vector<std::string> kUnsatisfiable{
    "[General Datas]", "Clause Number=2", "Total Literal Number=1", "[Clause 0]", "Nb Literals=1",
    "Literal0=1",      "[Clause 1]",      "Nb Literals=1",          "Literal0=-1"};

QString StatusText() {
    return Kavelin_Form->Kavelin_StatusBar->Text();
}

// A comment line typed at the end of the memo.
void TypeAComment(TMemo* memo) {
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("; typed"));
}

void Undo(TMemo* memo) {
    QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);
}

}  // namespace

class SatPageTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;
    TSatPage* fPage = nullptr;
    fs::path fDir;

  private slots:
    void init() {
        fFixture = new TWindowFixture;
        fPage = Kavelin_Form->SatPage;
        Kavelin_Form->PageControl1->SetCurrentIndex(2);
        fDir = fs::temp_directory_path() /
               ("kavelin_sat_page_" + std::to_string(QCoreApplication::applicationPid()));
        fs::create_directories(fDir);
    }
    void cleanup() {
        delete fFixture;
        SetFixedSeed(std::nullopt);
        fs::remove_all(fDir);
    }

    void randomGenerationAndTestLocalWriteTheSameProblem() {
        SetFixedSeed(11);
        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        const std::vector<std::string> generated = fPage->SAT_Memo->ToVector();
        QCOMPARE(generated[1], std::string("Clause Number=80"));
        QCOMPARE(generated[2], std::string("Total Literal Number=24"));
        fPage->SAT_Memo->Clear();
        QTest::mouseClick(Kavelin_Form->Button4, Qt::LeftButton);
        QCOMPARE(fPage->SAT_Memo->ToVector(), generated);

        // Refused arguments leave the memo as it was.
        fPage->SAT_NbLitByCl_From_UpDown->SetPosition(20);
        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        QCOMPARE(fPage->SAT_Memo->ToVector(), generated);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
    }

    void solvingTheDefaultProblemShowsTheSolutionAndTheGrid() {
        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        QVERIFY(SatSolver->Clauses().size() == 80);
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        QVERIFY(SatSolver->IsFinished());

        const std::vector<std::string> trace = TraceLines();
        QVERIFY(trace.size() >= 26);
        QCOMPARE(trace[trace.size() - 25], std::string("Solution trouv\xE9"
                                                       "e"));
        const std::vector<double> values = SolutionValues(trace, 24);
        TSatProblem problem;
        QVERIFY(ReadConstraintText(*fPage->SAT_Memo, "memo", problem));
        for (const TClause& clause : problem.Clauses) QVERIFY(IsClauseValid(clause, values));

        // One row per variable, its one green cell at the column of its value.
        TStringGridControl* grid = fPage->SATSolver_StringGrid;
        QCOMPARE(grid->ColCount(), 41);
        QCOMPARE(grid->RowCount(), 25);
        const QImage image = grid->viewport()->grab().toImage();
        for (int32_t row = 1; row < 25; ++row) {
            const double value = SatSolver->Values()[static_cast<size_t>(row)];
            for (int32_t col = 1; col < 41; ++col) {
                if (grid->currentIndex().isValid() && col == grid->Col() && row == grid->Row())
                    continue;
                const TRect r = grid->CellRect(col, row);
                const QColor pixel(image.pixel((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
                const QColor expected = col == static_cast<int32_t>(std::trunc(39 * value)) + 1
                                            ? QColor(0, 128, 0)
                                            : QColor(255, 255, 255);
                QVERIFY2(pixel == expected,
                         qPrintable(QStringLiteral("cell %1 %2").arg(col).arg(row)));
            }
        }

        // "&Solve" on the solved problem runs exactly one step: one status line,
        // then the solution lines.
        TraceForm->RichEdit1->Clear();
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        const std::vector<std::string> again = TraceLines();
        QCOMPARE(again.size(), size_t(26));
        QCOMPARE(again[0], std::string("valides : 80 / 80"));
        QVERIFY(fFixture->Boxes.fTexts.empty());
    }

    void escapeEndsAnUnsatisfiableRun() {
        fPage->SAT_Memo->Assign(kUnsatisfiable);
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        QTimer::singleShot(200, Kavelin_Form, [] {
            QApplication::setActiveWindow(Kavelin_Form);
            QTest::keyClick(Kavelin_Form->SatPage->SAT_Memo, Qt::Key_Escape);
        });
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        const std::vector<std::string> trace = TraceLines();
        QCOMPARE(trace.back(), std::string("Solve interrupted"));
        QVERIFY(trace.size() >= 2);
        QVERIFY(trace[trace.size() - 2].rfind("valides : ", 0) == 0 ||
                trace[trace.size() - 2].rfind("clauses valides avant explosion : ", 0) == 0);
        QVERIFY(!SatSolver->IsFinished());

        // Escape without a running loop does nothing.
        QApplication::setActiveWindow(Kavelin_Form);
        QTest::keyClick(fPage->SAT_Memo, Qt::Key_Escape);
        QCOMPARE(TraceLines(), trace);
    }

    // A night's solve rewrites the trace at every step: its document keeps no
    // undo step, so the memory stays that of its lines once it has filled. Each
    // step of this problem adds a line; the trace starts nearly full so that it
    // passes its 10,000 lines and is trimmed within a few hundred steps. The
    // document changes once a frame, with the frame's lines and trims together, so
    // it never holds more than the trace's 10,000 lines.
    void aLongUnsatisfiableRunLeavesTheTraceNoUndoHistory() {
        fPage->SAT_Memo->Assign(kUnsatisfiable);
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        TraceForm->RichEdit1->Assign(std::vector<std::string>(9800, "earlier line"));
        QTextDocument* trace = TraceForm->RichEdit1->document();
        // The run sends lines faster than the frames show them: the trace is held
        // in memory, and each frame shows its newest lines.
        int frames = 0, mostLines = 0, mostTraced = 0;
        bool held = false, trimmed = false;
        // The run goes on for 20 frames at least, and until the trace has passed
        // its 10,000 lines once, however slowly a loaded machine steps.
        connect(trace, &QTextDocument::contentsChanged, this, [&] {
            mostLines = std::max(mostLines, trace->blockCount());
            held = held || TraceForm->Text()->Holding();
            const int traced = TraceForm->Text()->Count();
            trimmed = trimmed || traced < mostTraced;
            mostTraced = std::max(mostTraced, traced);
            if (++frames >= 20 && trimmed) fPage->InterruptSolve();
        });
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        disconnect(trace, nullptr, this, nullptr);
        QVERIFY(frames >= 20);
        QVERIFY(held && !TraceForm->Text()->Holding());
        QVERIFY(mostLines <= 10000);
        QVERIFY(TraceForm->RichEdit1->Count() >= 9500 && TraceForm->RichEdit1->Count() < 10000);
        QCOMPARE(TraceForm->RichEdit1->Get(TraceForm->RichEdit1->Count() - 1),
                 std::string("Solve interrupted"));
        QCOMPARE(trace->availableUndoSteps(), 0);
        QCOMPARE(trace->availableRedoSteps(), 0);

        // What a person types in the trace afterwards can still be undone.
        QTest::keyClicks(TraceForm->RichEdit1, QStringLiteral("x"));
        QVERIFY(trace->isUndoAvailable());
    }

    void closingTheWindowOrQuitEndsTheLoopBeforeTheSolverGoes() {
        for (const bool quit : {false, true}) {
            if (quit) {
                delete fFixture;
                fFixture = new TWindowFixture;
                fPage = Kavelin_Form->SatPage;
            }
            fPage->SAT_Memo->Assign(kUnsatisfiable);
            QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
            QTimer::singleShot(100, Kavelin_Form, [quit] {
                if (quit)
                    QTest::mouseClick(Kavelin_Form->Quitter_Button, Qt::LeftButton);
                else
                    Kavelin_Form->close();
            });
            QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
            QVERIFY(SatSolver == nullptr);
            QVERIFY(!fPage->IsSolving());
            QVERIFY(!Kavelin_Form->isVisible());
            QCOMPARE(Chrono == nullptr, quit);
        }
    }

    // The main window closed while an error box of "&Load" shows: the solver is
    // gone for the program, and the load that opened the box ends on a whole one.
    void closingTheWindowUnderALoadErrorBoxLetsTheLoadEnd() {
        fPage->SAT_Memo->Clear();
        fFixture->Boxes.fWhileShown = [] { Kavelin_Form->close(); };
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QVERIFY(SatSolver == nullptr);
        QVERIFY(!Kavelin_Form->isVisible());
    }

    // Typed work is asked for on each way out; Cancel, and a save that does not
    // happen, keep everything running; Save writes the memo and ends.
    void typedWorkIsAskedForBeforeTheProgramEnds() {
        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        QVERIFY(!fPage->SAT_Memo->HasTypedEdits());
        QVERIFY(Kavelin_Form->MayQuit());
        QVERIFY(fFixture->Boxes.fTexts.empty());

        TypeAComment(fPage->SAT_Memo);
        QVERIFY(fPage->SAT_Memo->HasTypedEdits());
        const std::vector<std::string> typed = fPage->SAT_Memo->ToVector();
        // Cancel on the close box, the button and the menu's Ctrl+Q.
        QVERIFY(!Kavelin_Form->close());
        QTest::mouseClick(Kavelin_Form->Quitter_Button, Qt::LeftButton);
        Kavelin_Form->File_Quit_Action->trigger();
        QCOMPARE(fFixture->Boxes.fTexts, std::vector<std::string>(3, "Save the SAT problem?"));
        QVERIFY(Kavelin_Form->isVisible());
        QVERIFY(SatSolver != nullptr && Chrono != nullptr);
        QCOMPARE(fPage->SAT_Memo->ToVector(), typed);

        // Save, then the save dialog cancelled: as Cancel.
        fFixture->Boxes.fSaveChoice = TSaveChoice::Save;
        QVERIFY(!Kavelin_Form->close());
        QCOMPARE(fFixture->DialogsShown, std::vector<QString>{QStringLiteral("SaveDialog1")});
        QVERIFY(SatSolver != nullptr && Chrono != nullptr);

        // Save with a name: the memo's lines are written, and Quit ends.
        const std::string saved = (fDir / "kept.txt").string();
        fFixture->NextFileName = QString::fromStdString(saved);
        QTest::mouseClick(Kavelin_Form->Quitter_Button, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(5));
        QVERIFY(!Kavelin_Form->isVisible());
        QVERIFY(SatSolver == nullptr && Chrono == nullptr);
        TLineList written;
        written.LoadFromFile(saved);
        QCOMPARE(written.Lines(), typed);

        // Discard ends without a dialog; a saved or loaded memo asks nothing.
        delete fFixture;
        fFixture = new TWindowFixture;
        fPage = Kavelin_Form->SatPage;
        fFixture->NextFileName = QString::fromStdString(saved);
        QTest::mouseClick(fPage->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        QVERIFY(!fPage->SAT_Memo->HasTypedEdits());
        for (const auto save : {true, false}) {
            TypeAComment(fPage->SAT_Memo);
            QVERIFY(fPage->SAT_Memo->HasTypedEdits());
            fFixture->NextFileName = QString::fromStdString(saved);
            if (save)
                QTest::mouseClick(fPage->SAT_SaveToConstraintFile_Button, Qt::LeftButton);
            else
                QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
            QVERIFY(!fPage->SAT_Memo->HasTypedEdits());
        }
        QTest::keyClicks(fPage->SAT_Memo, QStringLiteral("x"));
        fFixture->Boxes.fSaveChoice = TSaveChoice::Discard;
        fFixture->DialogsShown.clear();
        QVERIFY(Kavelin_Form->close());
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QVERIFY(fFixture->DialogsShown.empty());
        QVERIFY(SatSolver == nullptr);
    }

    // Each replacement of a memo's whole text is one undo step; typing is
    // undone on its own afterwards. "Test Local" from another page says where
    // its problem went.
    void everyReplacementOfAMemoIsOneUndoStep() {
        TMemo* memo = fPage->SAT_Memo;
        QTest::keyClicks(memo, QStringLiteral("typed"));
        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        const std::vector<std::string> generated = memo->ToVector();
        QVERIFY(generated.size() > 100 && !memo->HasTypedEdits());

        fFixture->NextFileName = QString::fromStdString(DataFile("classic.cnf"));
        QTest::mouseClick(fPage->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        const std::vector<std::string> opened = memo->ToVector();
        fFixture->NextFileName = QString::fromStdString(DataFile("classic.txt"));
        QTest::mouseClick(fPage->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(memo->ToVector(), opened);  // the same problem, as text

        Kavelin_Form->PageControl1->SetCurrentIndex(0);
        QTest::mouseClick(Kavelin_Form->Button4, Qt::LeftButton);
        QCOMPARE(StatusText(), QStringLiteral("A new random problem is in the SAT page's memo; "
                                              "Ctrl+Z there undoes it"));
        QVERIFY(memo->ToVector() != opened);
        Undo(memo);
        QCOMPARE(memo->ToVector(), opened);
        Undo(memo);
        QCOMPARE(memo->ToVector(), opened);
        Undo(memo);
        QCOMPARE(memo->ToVector(), generated);
        Undo(memo);
        QCOMPARE(memo->ToVector(), std::vector<std::string>{"typed"});
        QVERIFY(memo->HasTypedEdits());
        QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(memo->ToVector(), generated);

        // On the SAT page itself the memo is in view: the bar says nothing of it.
        Kavelin_Form->PageControl1->SetCurrentIndex(2);
        ProgramStatus::Say(QString());
        QTest::mouseClick(Kavelin_Form->Button4, Qt::LeftButton);
        QVERIFY(StatusText().isEmpty());

        // "Load Datas" of the segmentation page, likewise.
        TSegmentationPage* segmentation = Kavelin_Form->SegmentationPage;
        QTest::keyClicks(segmentation->Segmentation_Memo, QStringLiteral("before"));
        fFixture->NextFileName = QString::fromStdString(DataFile("classic.txt"));
        QTest::mouseClick(segmentation->ID3_Load_Button, Qt::LeftButton);
        QCOMPARE(segmentation->Segmentation_Memo->ToVector(), opened);
        Undo(segmentation->Segmentation_Memo);
        QCOMPARE(segmentation->Segmentation_Memo->ToVector(), std::vector<std::string>{"before"});
        QVERIFY(fFixture->Boxes.fTexts.empty());
    }

    // "Load" says what it installed; "&Solve" without a problem runs nothing,
    // and a solve ends with its steps and valid clauses.
    void theStatusBarTellsWhatLoadAndSolveDid() {
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        QCOMPARE(StatusText(), QStringLiteral("No problem loaded: press Load first"));
        QCOMPARE(TraceLines().back(), std::string("Warning : No problem loaded: press Load first"));
        for (const std::string& line : TraceLines()) QVERIFY(line.rfind("valides", 0) != 0);
        QVERIFY(!Kavelin_Form->Kavelin_StatusBar->Running());
        QVERIFY(fFixture->Boxes.fTexts.empty());

        fPage->SAT_Memo->Assign({"[General Datas]", "Total Literal Number=3"});
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        QCOMPARE(StatusText(),
                 QStringLiteral("Nothing loaded: the SAT memo holds no complete problem"));
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        QCOMPARE(StatusText(), QStringLiteral("No problem loaded: press Load first"));

        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        QCOMPARE(StatusText(), QStringLiteral("Loaded 80 clauses over 24 variables"));
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        QVERIFY(SatSolver->IsFinished());
        const QRegularExpression solved(
            QStringLiteral("^Solved in ([0-9,]+) steps?: 80 of 80 clauses valid$"));
        const QRegularExpressionMatch match = solved.match(StatusText());
        QVERIFY2(match.hasMatch(), qPrintable(StatusText()));
        QCOMPARE(match.captured(1), QLocale(QLocale::English).toString(fPage->SolveSteps()));
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        QCOMPARE(StatusText(), QStringLiteral("Solved in 1 step: 80 of 80 clauses valid"));
    }

    void dimacsFilesOpenAsConstraintTextAndSaveBack() {
        fFixture->NextFileName = QString::fromStdString(DataFile("classic.cnf"));
        QTest::mouseClick(fPage->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        TLineList expected;
        expected.LoadFromFile(DataFile("classic.txt"));
        QCOMPARE(fPage->SAT_Memo->ToVector(), expected.Lines());

        const std::string written = (fDir / "back.CNF").string();
        fFixture->NextFileName = QString::fromStdString(written);
        QTest::mouseClick(fPage->SAT_SaveToConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(ReadFileBytes(written),
                 std::string("p cnf 5 4\r\n1 -5 4 0\r\n-1 5 3 4 0\r\n-3 -4 0\r\n2 -3 0\r\n"));

        // A malformed file and a refused memo change nothing.
        fFixture->NextFileName = QString::fromStdString(DataFile("beyond_variables.cnf"));
        QTest::mouseClick(fPage->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(fPage->SAT_Memo->ToVector(), expected.Lines());
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QVERIFY(fFixture->Boxes.fTexts[0].find("beyond_variables.cnf line 4: literal 6") !=
                std::string::npos);

        fPage->SAT_Memo->Assign({"[General Datas]", "Total Literal Number=3"});
        fFixture->NextFileName = QString::fromStdString(written);
        QTest::mouseClick(fPage->SAT_SaveToConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(2));
        QCOMPARE(ReadFileBytes(written),
                 std::string("p cnf 5 4\r\n1 -5 4 0\r\n-1 5 3 4 0\r\n-3 -4 0\r\n2 -3 0\r\n"));
    }

    // "&Check Integrity" reads the memo's problem beside the loaded one, says
    // what it holds and gives the complete solver's verdict; the model on request.
    void checkIntegrityJudgesTheMemoWithoutLoadingIt() {
        SetFixedSeed(4);
        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        const std::vector<TClause> loaded = SatSolver->Clauses();

        fPage->SAT_Memo->Assign({"[General Datas]", "Clause Number=3", "Total Literal Number=2",
                                 "[Clause 0]", "Nb Literals=2", "Literal0=1", "Literal1=-1",
                                 "[Clause 1]", "Nb Literals=3", "Literal0=2", "Literal1=2",
                                 "Literal2=1", "[Clause 2]", "Nb Literals=0"});
        TraceForm->RichEdit1->Clear();
        QTest::mouseClick(fPage->SAT_CheckIntegrity_Button, Qt::LeftButton);
        QCOMPARE(TraceLines(),
                 (std::vector<std::string>{"Check Integrity: 3 clauses, 2 variables, 5 literals, 1 "
                                           "empty clauses, 1 repeated literals, 1 tautologies",
                                           "Unsatisfiable"}));
        QCOMPARE(StatusText(), QStringLiteral("Unsatisfiable"));
        QVERIFY(SatSolver->Clauses() == loaded);
        TSatProblem checked;
        QVERIFY(ReadConstraintText(*fPage->SAT_Memo, "memo", checked));
        QCOMPARE(PicosatStatus(checked), 20);

        // A satisfiable memo: the model, once asked for, satisfies every clause.
        QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
        QTest::mouseClick(fPage->SAT_CheckIntegrity_Button, Qt::LeftButton);
        QCOMPARE(TraceLines().back(), std::string("Satisfiable"));
        QCOMPARE(StatusText(), QStringLiteral("Satisfiable"));
        TraceForm->RichEdit1->Clear();
        fPage->SAT_ShowModel_Action->trigger();
        const std::vector<std::string> model = TraceLines();
        QCOMPARE(model.size(), size_t(25));
        QCOMPARE(model[0], std::string("Model of 80 clauses over 24 variables"));
        TSatProblem problem;
        QVERIFY(ReadConstraintText(*fPage->SAT_Memo, "memo", problem));
        const std::vector<double> values = SolutionValues(model, 24);
        for (const TClause& clause : problem.Clauses) QVERIFY(IsClauseValid(clause, values));
        QVERIFY(fFixture->Boxes.fTexts.empty());

        // A memo without a problem is refused as "Load" refuses it.
        fPage->SAT_Memo->Assign({"[General Datas]", "Total Literal Number=2"});
        QTest::mouseClick(fPage->SAT_CheckIntegrity_Button, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QCOMPARE(StatusText(),
                 QStringLiteral("Nothing checked: the SAT memo holds no complete problem"));
    }

    // Escape ends a check under way: one line says so, and no verdict follows.
    void escapeEndsACheckIntegrity() {
        std::vector<std::string> lines = ConstraintLines(Pigeonhole(13, 12));
        fPage->SAT_Memo->Assign(lines);
        TraceForm->RichEdit1->Clear();
        QTimer::singleShot(900, Kavelin_Form, [] {
            QApplication::setActiveWindow(Kavelin_Form);
            QTest::keyClick(Kavelin_Form->SatPage->SAT_Memo, Qt::Key_Escape);
        });
        QTest::mouseClick(fPage->SAT_CheckIntegrity_Button, Qt::LeftButton);
        const std::vector<std::string> trace = TraceLines();
        QCOMPARE(trace.size(), size_t(2));
        QCOMPARE(trace[1], std::string("Check Integrity interrupted"));
        QVERIFY(!fPage->HasModel());
    }

    // The three methods of the SAT menu solve the default problem; the choice
    // is kept in the settings and found at the next start.
    void theMenuChoosesTheMethodOfSolve() {
        QCOMPARE(fPage->Method(), TSatMethod::Relaxation);
        QVERIFY(fPage->SAT_Relaxation_Action->isChecked());
        for (QAction* action :
             {fPage->SAT_ProbSat_Action, fPage->SAT_Cdcl_Action, fPage->SAT_Relaxation_Action}) {
            action->trigger();
            QVERIFY(action->isChecked());
            QTest::mouseClick(fPage->SAT_Random_Generation_Button, Qt::LeftButton);
            QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
            TraceForm->RichEdit1->Clear();
            QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
            QVERIFY2(SatSolver->IsFinished(), qPrintable(action->text()));
            const std::vector<std::string> trace = TraceLines();
            QVERIFY(trace.size() >= 25);
            QCOMPARE(trace[trace.size() - 25], std::string("Solution trouv\xE9"
                                                           "e"));
            if (action != fPage->SAT_Relaxation_Action) {
                for (size_t v = 1; v < SatSolver->Values().size(); ++v)
                    QVERIFY(SatSolver->Values()[v] == 0.0 || SatSolver->Values()[v] == 1.0);
                // The grid shows each value at column 1 or 40, as the search left it.
                for (int32_t row = 1; row <= 24; ++row)
                    QCOMPARE(SatSolver->ValueColour(SatSolver->Values()[row] == 1.0 ? 40 : 1, row),
                             clGreen);
            }
        }

        // The complete solver proves an unsatisfiable problem so, and the
        // relaxation's Solve says so before it runs.
        fPage->SAT_Cdcl_Action->trigger();
        fPage->SAT_Memo->Assign(kUnsatisfiable);
        QTest::mouseClick(fPage->SAT_Load_Button, Qt::LeftButton);
        QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
        QCOMPARE(TraceLines().back(), std::string("Unsatisfiable"));
        QCOMPARE(StatusText(), QStringLiteral("Unsatisfiable"));
        QCOMPARE(PicosatStatus(TSatProblem{SatSolver->VariableCount(), SatSolver->Clauses()}), 20);
        for (QAction* action : {fPage->SAT_Relaxation_Action, fPage->SAT_ProbSat_Action}) {
            action->trigger();
            QString said;
            QTimer::singleShot(150, Kavelin_Form, [&said] {
                said = StatusText();
                Kavelin_Form->SatPage->InterruptSolve();
            });
            QTest::mouseClick(fPage->SAT_Solve_Button, Qt::LeftButton);
            QVERIFY2(said.startsWith(QStringLiteral("Unsatisfiable problem. Solving: ")) ||
                         said.startsWith(QStringLiteral("Check Integrity proved")),
                     qPrintable(said));
            QCOMPARE(TraceLines().back(), std::string("Solve interrupted"));
        }

        fPage->SAT_ProbSat_Action->trigger();
        const QByteArray saved = fFixture->SavedSettings();
        QVERIFY(saved.contains("probSAT"));
        delete fFixture;
        fFixture = new TWindowFixture(saved);
        fPage = Kavelin_Form->SatPage;
        QCOMPARE(fPage->Method(), TSatMethod::ProbSat);
        QVERIFY(fPage->SAT_ProbSat_Action->isChecked());
        QVERIFY(!fPage->SAT_Relaxation_Action->isChecked());
    }
};

QTEST_MAIN(SatPageTest)
#include "Sat_page_test.moc"
