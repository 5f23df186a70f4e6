// Start-up, the trace window on the real rich edit, and the handlers that need no
// engine: Quit, the close box, SAT Open/Save, Load Datas, and the error guard.
#include <QtTest>
#include <filesystem>
#include <random>

#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/MyDatabase_Form.h"
#include "app/Trace_Form.h"
#include "base/File_Io.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "support/Window_Fixture.h"
#include "tables/Database_Unit.h"

namespace fs = std::filesystem;

class StartupTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;
    fs::path fDir;

  private slots:
    void init() {
        fFixture = new TWindowFixture;
        fDir = fs::temp_directory_path() /
               ("kavelin_startup_" + std::to_string(QCoreApplication::applicationPid()));
        fs::create_directories(fDir);
    }
    void cleanup() {
        delete fFixture;
        fFixture = nullptr;
        fs::remove_all(fDir);
    }

    void onlyTheMainAndTraceWindowsShow() {
        QVERIFY(Kavelin_Form->isVisible());
        QVERIFY(TraceForm->isVisible());
        QVERIFY(ChronoForm && !ChronoForm->isVisible());
        QVERIFY(MyDatabase_Form && !MyDatabase_Form->isVisible());
        QVERIFY(Debug_Form && !Debug_Form->isVisible());
        QCOMPARE(Debug_Form->Memo1->Count(), 0);
        QVERIFY(Chrono != nullptr);
        // Lines sent while the main window was built were dropped: the trace starts empty.
        QCOMPARE(TraceForm->RichEdit1->Count(), 0);
    }

    void theTraceWindowKeepsTheBoundedTrace() {
        TMemo* trace = TraceForm->RichEdit1;
        for (int i = 1; i <= 10001; ++i) Messenger.Send(std::to_string(i));
        QCOMPARE(trace->Count(), 9500);
        QCOMPARE(trace->Get(0), std::string("502"));
        QCOMPARE(trace->Get(9499), std::string("10001"));
        QCOMPARE(trace->verticalScrollBar()->value(), trace->verticalScrollBar()->maximum());
        // A status line replaced in place: the scroll bar keeps its range.
        const int maximum = trace->verticalScrollBar()->maximum();
        Messenger.SetLinesToReplace(1);
        Messenger.Send("status");
        QCOMPARE(trace->Count(), 9500);
        QCOMPARE(trace->Get(9499), std::string("status"));
        QCOMPARE(trace->verticalScrollBar()->maximum(), maximum);

        Messenger.ClearTrace();
        QCOMPARE(trace->Count(), 0);
        Messenger.Send("P");
        Messenger.SetLinesToReplace(1);
        Messenger.Send("A");
        Messenger.Send("B");
        QCOMPARE(trace->QtLines(), (QStringList{"A", "B"}));
        // A text with a line break takes two lines of the control.
        Messenger.Send("one\r\ntwo");
        QCOMPARE(trace->Count(), 4);
        Messenger.SetLinesToReplace(2);
        Messenger.Send("C");
        QCOMPARE(trace->QtLines(), (QStringList{"A", "B", "C"}));
        // An empty text is a line too.
        Messenger.ClearTrace();
        Messenger.Send("");
        QCOMPARE(trace->Count(), 1);
        // Accented Windows-1252 bytes show as their letters.
        Messenger.Send("Propri\xE9t\xE9s");
        QCOMPARE(trace->QtLines().last(), QStringLiteral("Propriétés"));
        QCOMPARE(trace->Get(1), std::string("Propri\xE9t\xE9s"));
    }

    // While a search runs, the trace keeps its changes aside for the next frame;
    // reading it must still see every change at once, and the rich edit must end
    // with the same lines. A random run of sends, replaced lines, texts of two
    // lines and trims, paced and not, against the tool's in-memory trace. Late
    // on, with the trace full, a stretch of single lines between rare frames has
    // the trace held in memory (the first send after a frame replacing the last
    // line, and lines trimmed since): the frames then show its newest lines,
    // read-only, and the end of the pace gives the rich edit the whole trace back.
    void aPacedTraceReadsAsTheToolsTraceAfterEverySend() {
        TTraceText* paced = TraceForm->Text();
        TMemo* memo = TraceForm->RichEdit1;
        TMemoryTextDisplay reference;
        std::mt19937 random(7);
        paced->SetPaced(true);
        for (int i = 0; i < 30000; ++i) {
            const bool linesOnly = i >= 22000 && i < 26000;
            const int kind = i == 22501  ? 3
                             : linesOnly ? static_cast<int>(3 + random() % 17)
                                         : static_cast<int>(random() % 20);
            const int replace = kind == 0 ? 2 : kind < 8 ? 1 : 0;
            const std::string text =
                (kind == 1 ? "a\nb" : "line ") + std::to_string(i) + (kind == 2 ? "\r\n" : "");
            for (ITextDisplay* trace :
                 {static_cast<ITextDisplay*>(&reference), static_cast<ITextDisplay*>(paced)}) {
                Messenger.AttachTrace(trace);
                Messenger.SetLinesToReplace(replace);
                Messenger.Send(text);
            }
            QCOMPARE(paced->Count(), reference.Count());
            QCOMPARE(paced->Get(0), reference.Get(0));
            QCOMPARE(paced->Get(reference.Count() - 1), reference.Get(reference.Count() - 1));
            if (i % (linesOnly ? 2500 : 1000) == 0) {
                QCoreApplication::processEvents();
                QCOMPARE(memo->isReadOnly(), paced->Holding());
                if (paced->Holding()) {
                    paced->ShowPending();  // the frame, however soon after the last
                    const auto& lines = reference.Lines();
                    QCOMPARE(memo->ToVector(),
                             std::vector<std::string>(lines.end() - TTraceText::kShownWhileHeld,
                                                      lines.end()));
                }
            }
            if (i == 25000) QVERIFY(paced->Holding());
            if (i == 15000) {
                paced->SetPaced(false);
                QVERIFY(!paced->Holding() && !memo->isReadOnly());
                QCOMPARE(memo->ToVector(), reference.Lines());
                QCOMPARE(memo->document()->availableUndoSteps(), 0);
            }
            if (i == 20000) paced->SetPaced(true);
        }
        QCOMPARE(paced->Get(reference.Count() / 2), reference.Get(reference.Count() / 2));
        QVERIFY(paced->Holding());
        paced->SetPaced(false);
        QVERIFY(!paced->Holding() && !memo->isReadOnly());
        QCOMPARE(memo->ToVector(), reference.Lines());
    }

    void errorsShowThreeLinesAndTheBox() {
        Messenger.Error("bad");
        QCOMPARE(TraceForm->RichEdit1->QtLines(),
                 (QStringList{"*******ERROR*******", "bad", "*******************"}));
        QCOMPARE(fFixture->Boxes.fTexts, std::vector<std::string>{"*ERROR*bad"});
    }

    void satOpenAndSaveRoundTripTheMemoLines() {
        TSatPage* sat = Kavelin_Form->SatPage;
        sat->SAT_Memo->Assign({"[Clause 1]", "Nb Lit=2", "Lit 1=-3", "caf\xE9"});
        const QString file = QString::fromStdString((fDir / "problem.txt").string());
        fFixture->NextFileName = file;
        QTest::mouseClick(sat->SAT_SaveToConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(ReadFileBytes(file.toStdString()),
                 std::string("[Clause 1]\r\nNb Lit=2\r\nLit 1=-3\r\ncaf\xE9\r\n"));

        sat->SAT_Memo->Clear();
        fFixture->NextFileName = file;
        QTest::mouseClick(sat->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(sat->SAT_Memo->ToVector(),
                 (std::vector<std::string>{"[Clause 1]", "Nb Lit=2", "Lit 1=-3", "caf\xE9"}));
        QCOMPARE(Kavelin_Form->OpenDialog1.InitialFolder(), QStringLiteral("./Data/SATSolver/"));

        // A cancelled dialog changes nothing.
        QTest::mouseClick(sat->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(sat->SAT_Memo->Count(), 4);
        QCOMPARE(fFixture->DialogsShown,
                 (std::vector<QString>{"SaveDialog1", "OpenDialog1", "OpenDialog1"}));
    }

    void aFailedSaveShowsTheErrorAndKeepsThePreviousFile() {
        TSatPage* sat = Kavelin_Form->SatPage;
        const std::string file = (fDir / "kept.txt").string();
        WriteFileAtomically(file, "previous\r\n");
        sat->SAT_Memo->Assign({"new"});
        fFixture->NextFileName = QString::fromStdString(file + "/inside-a-file.txt");
        QTest::mouseClick(sat->SAT_SaveToConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QVERIFY(fFixture->Boxes.fTexts[0].find("inside-a-file.txt") != std::string::npos);
        QCOMPARE(ReadFileBytes(file), std::string("previous\r\n"));
    }

    void anUnreadableFileOnLoadDatasShowsTheErrorAndTheProgramGoesOn() {
        TSegmentationPage* page = Kavelin_Form->SegmentationPage;
        page->Segmentation_Memo->Assign({"kept"});
        fFixture->NextFileName = QStringLiteral("/nonexistent/kavelin/data.txt");
        QTest::mouseClick(page->ID3_Load_Button, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QVERIFY(fFixture->Boxes.fTexts[0].find("/nonexistent/kavelin/data.txt") !=
                std::string::npos);
        QCOMPARE(page->Segmentation_Memo->ToVector(), std::vector<std::string>{"kept"});
        QCOMPARE(Kavelin_Form->OpenDialog2.InitialFolder(),
                 QStringLiteral("./Data/SegmentationManager"));

        // A name that exists but cannot be read: a folder.
        fFixture->NextFileName = QString::fromStdString(fDir.string());
        QTest::mouseClick(page->ID3_Load_Button, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(2));
        QVERIFY(fFixture->Boxes.fTexts[1].find("Is a directory") != std::string::npos);
        QCOMPARE(page->Segmentation_Memo->ToVector(), std::vector<std::string>{"kept"});

        const std::string file = (fDir / "data.txt").string();
        WriteFileAtomically(file, "a;b\nc;d\r\n");
        fFixture->NextFileName = QString::fromStdString(file);
        QTest::mouseClick(page->ID3_Load_Button, Qt::LeftButton);
        QCOMPARE(page->Segmentation_Memo->ToVector(), (std::vector<std::string>{"a;b", "c;d"}));
    }

    void handlersWithoutEffectChangeNothing() {
        QTest::mouseClick(Kavelin_Form->NeuronalNetworkPage->nnetwork_test_button, Qt::LeftButton);
        QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Kavelin_Form, &wheel);
        QVERIFY(!wheel.isAccepted());
        QCOMPARE(TraceForm->RichEdit1->Count(), 0);
        QVERIFY(fFixture->Boxes.fTexts.empty());

        QTest::mouseClick(Kavelin_Form->NeuronalNetworkPage->NeuronalNetwork1_Button,
                          Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
    }

    void quitOnTheProfilerOnlyHidesIt() {
        ChronoForm->show();
        QTest::mouseClick(ChronoForm->Chrono_Quit_Button, Qt::LeftButton);
        QVERIFY(!ChronoForm->isVisible());
        QVERIFY(Kavelin_Form->isVisible());
        QVERIFY(TraceForm->isVisible());
        TraceForm->close();
        QVERIFY(!TraceForm->isVisible());
        QVERIFY(TraceForm != nullptr);
    }

    void quitReleasesChronoAndClosesTheMainWindow() {
        QTest::mouseClick(Kavelin_Form->Quitter_Button, Qt::LeftButton);
        QVERIFY(Chrono == nullptr);
        QVERIFY(!Kavelin_Form->isVisible());
    }

    void theCloseBoxKeepsChrono() {
        Kavelin_Form->close();
        QVERIFY(Chrono != nullptr);
        QVERIFY(!Kavelin_Form->isVisible());
    }

    // Once the windows are released no name is left pointing at what went with
    // them, and a report sent afterwards reaches no trace.
    void noNameOutlivesTheWindows() {
        Kavelin_Form->IniFileReader_ButtonClick();
        QVERIFY(IniManager && DataRestructurator && SatSolver && Chrono && Brain);
        delete std::exchange(fFixture, nullptr);
        for (const void* name : std::initializer_list<const void*>{
                 Kavelin_Form, ChronoForm, MyDatabase_Form, Debug_Form, TraceForm, SatSolver,
                 Chrono, DataRestructurator, IniManager, Brain})
            QCOMPARE(name, nullptr);
        QVERIFY(!Messenger.HasTrace());
        QCOMPARE(DatabaseWindowGrid(), nullptr);
        Messenger.Send("after the windows");
    }
};

QTEST_MAIN(StartupTest)
#include "Startup_test.moc"
