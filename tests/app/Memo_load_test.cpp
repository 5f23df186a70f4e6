// A memo filled from a file a piece at a time: stopped midway it is as it was,
// history and modified flag included, with one trace line; run to its end it
// holds what Assign gives. The segmentation page's "Load Datas" runs it as long
// work that Escape ends.
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/Sat_Page.h"
#include "app/Segmentation_Page.h"
#include "app/Trace_Form.h"
#include "base/File_Io.h"
#include "qt/Qt_Long_Work.h"
#include "qt/Qt_Memo.h"
#include "qt/Qt_Status_Bar.h"
#include "solvers/Progress_Stop.h"
#include "support/Escape_When_Shown.h"
#include "support/Trace_Capture.h"
#include "support/Window_Fixture.h"

namespace {

// `count` lines "Literal=1", "Literal=2" ... ended by CR LF.
std::string NumberedLines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "Literal=" + std::to_string(i) + "\r\n";
    return text;
}

// What a stopped load gives back besides the lines, in words, so that a
// difference shows in the failure.
QString Described(const TMemo& memo) {
    const QTextDocument& doc = *memo.document();
    return QStringLiteral("%1 lines, undo %2, redo %3, modified %4, cursor %5-%6, scrolled %7 %8")
        .arg(memo.Count())
        .arg(doc.availableUndoSteps())
        .arg(doc.availableRedoSteps())
        .arg(doc.isModified())
        .arg(memo.textCursor().anchor())
        .arg(memo.textCursor().position())
        .arg(memo.verticalScrollBar()->value())
        .arg(memo.horizontalScrollBar()->value());
}

void Undo(TMemo& memo) {
    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
}

// Reports in order, each of all the lines, none at the end.
bool ReportsAreInOrder(const std::vector<std::pair<int64_t, int64_t>>& reports, int64_t total) {
    int64_t last = 0;
    for (const auto& [done, of] : reports) {
        if (done <= last || done >= total || of != total) return false;
        last = done;
    }
    return true;
}

}  // namespace

class MemoLoadTest : public QObject {
    Q_OBJECT
    QTemporaryDir fDir;

    std::string Written(const char* name, const std::string& bytes) {
        const std::string file = fDir.filePath(QString::fromLatin1(name)).toStdString();
        WriteFileAtomically(file, bytes);
        return file;
    }

  private slots:
    // At the first report and at a later one, in a memo whose replacements are
    // undoable and in one whose are not, with typed text or without.
    void aStoppedLoadGivesTheMemoBackAsItWas() {
        const int total = 100000;
        const std::string file = Written("stopped.txt", NumberedLines(total));
        for (const bool undoable : {true, false}) {
            for (const bool typed : {true, false}) {
                TMemo memo;
                memo.SetReplacementsUndoable(undoable);
                memo.resize(200, 150);
                memo.show();
                const std::vector<std::string> earlier(60, "earlier \xE9t\xE9 line");
                memo.Assign(earlier);
                if (typed) {
                    memo.moveCursor(QTextCursor::End);
                    QTest::keyClicks(&memo, QStringLiteral("typed"));
                }
                QTextCursor selection(memo.document());
                selection.setPosition(30);
                selection.setPosition(45, QTextCursor::KeepAnchor);
                memo.setTextCursor(selection);
                memo.verticalScrollBar()->setValue(20);
                memo.horizontalScrollBar()->setValue(3);
                const std::vector<std::string> lines = memo.ToVector();
                const QString before = Described(memo);

                const int stopAt = typed ? 1 : 3;
                TTraceCapture capture;
                TStopAtCall stop(stopAt);
                QVERIFY(!memo.LoadFromFile(file, stop));
                QCOMPARE(int(stop.fReports.size()), stopAt);
                QVERIFY(ReportsAreInOrder(stop.fReports, total));
                QCOMPARE(memo.ToVector(), lines);
                QCOMPARE(Described(memo), before);
                QCOMPARE(capture.Lines(), std::vector<std::string>{"Load interrupted"});
                QVERIFY(memo.updatesEnabled());

                // The history is the one before: the typed text, then (for the
                // undoable memo) the assigned text, are taken back.
                Undo(memo);
                if (typed) {
                    QCOMPARE(memo.ToVector(), earlier);
                    Undo(memo);
                }
                QCOMPARE(memo.Count(), undoable ? 0 : int(earlier.size()));
            }
        }
    }

    // Breaks of every convention, the code page's characters, blank lines, a
    // line longer than a piece and more lines than a piece holds; and the small
    // files of no line, one empty line, one line without its end.
    void aLoadRunToItsEndHoldsWhatAssignGives() {
        std::string big = "a\r\nb\rc\n\n\r\n\xE9t\xE9\t\xA0\x80\x81\r\r\n";
        big += std::string(1500000, 'x') + "\r\n";
        big += NumberedLines(70000) + "last";
        const std::vector<std::pair<const char*, std::string>> files{
            {"big.txt", big}, {"empty.txt", ""}, {"break.txt", "\r\n"}, {"one.txt", "one\r"}};
        for (const bool undoable : {true, false}) {
            for (const auto& [name, bytes] : files) {
                const std::string file = Written(name, bytes);
                TMemo loaded;
                TMemo assigned;
                for (TMemo* memo : {&loaded, &assigned}) {
                    memo->SetReplacementsUndoable(undoable);
                    memo->resize(200, 150);
                    memo->Assign({"old", "text"});
                    QTest::keyClicks(memo, QStringLiteral("typed"));
                }
                assigned.TLines::LoadFromFile(file);
                TStopAtCall never(0);
                QVERIFY(loaded.LoadFromFile(file, never));
                QCOMPARE(loaded.document()->toRawText(), assigned.document()->toRawText());
                QCOMPARE(loaded.ToVector(), assigned.ToVector());
                QCOMPARE(Described(loaded), Described(assigned));
                QCOMPARE(loaded.textCursor().position(), 0);
                QVERIFY(!loaded.HasTypedEdits());
                QCOMPARE(loaded.document()->isUndoAvailable(), undoable);
                QVERIFY(ReportsAreInOrder(never.fReports, loaded.Count()));
                QCOMPARE(never.fReports.empty(), bytes.size() < 1000);
                Undo(loaded);
                Undo(assigned);
                QCOMPARE(loaded.ToVector(), assigned.ToVector());
            }
        }
    }

    void aFileThatCannotBeReadLeavesTheMemoUntouched() {
        TMemo memo;
        memo.SetReplacementsUndoable(true);
        memo.Assign({"kept"});
        TStopAtCall never(0);
        QVERIFY_THROWS_EXCEPTION(std::exception,
                                 memo.LoadFromFile(fDir.filePath("none.txt").toStdString(), never));
        QCOMPARE(memo.ToVector(), std::vector<std::string>{"kept"});
        QCOMPARE(memo.document()->availableUndoSteps(), 1);
        QVERIFY(memo.updatesEnabled());
    }

    // Escape, once the status bar shows the load, ends it: the memo holds what
    // was typed, with its history, and the page loads a file again at once.
    void loadDatasEndsAtEscapeWithTheMemoAsItWas() {
        TWindowFixture fixture;
        TSegmentationPage* page = Kavelin_Form->SegmentationPage;
        TMemo* memo = page->Segmentation_Memo;
        QTest::keyClicks(memo, QStringLiteral("before"));
        const QString before = Described(*memo);
        fixture.NextFileName = QString::fromStdString(Written("datas.txt", NumberedLines(2000000)));
        // Escape goes to the memo once the load shows.
        TEscapeWhenShown escape(memo);
        QTest::mouseClick(page->ID3_Load_Button, Qt::LeftButton);
        QCOMPARE(escape.Shown, QStringLiteral("Load Datas is running: Esc or Stop ends it"));
        QCOMPARE(memo->ToVector(), std::vector<std::string>{"before"});
        QCOMPARE(Described(*memo), before);
        QCOMPARE(TraceForm->RichEdit1->ToVector().back(), std::string("Load interrupted"));
        QCOMPARE(ProgramStatus::Bar()->Text(), QStringLiteral("Load Datas stopped"));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(fixture.Boxes.fTexts.empty());

        fixture.NextFileName = QString::fromStdString(Written("small.txt", "a;b\r\nc;d\r\n"));
        QTest::mouseClick(page->ID3_Load_Button, Qt::LeftButton);
        QCOMPARE(memo->ToVector(), (std::vector<std::string>{"a;b", "c;d"}));
        Undo(*memo);
        QCOMPARE(memo->ToVector(), std::vector<std::string>{"before"});
    }

    // A large DIMACS file opened on the SAT page becomes constraint text in
    // pieces: Escape ends the fill and the memo keeps the person's text.
    void aLargeDimacsOpenEndsAtEscapeWithTheSatMemoAsItWas() {
        TWindowFixture fixture;
        TSatPage* page = Kavelin_Form->SatPage;
        TMemo* memo = page->SAT_Memo;
        QTest::keyClicks(memo, QStringLiteral("typed"));
        std::string dimacs = "p cnf 1000 300000\n";
        for (int c = 0; c < 300000; ++c)
            dimacs += std::to_string(c % 1000 + 1) + " -" + std::to_string((c * 7) % 1000 + 1) +
                      " " + std::to_string((c * 13) % 1000 + 1) + " 0\n";
        fixture.NextFileName = QString::fromStdString(Written("large.cnf", dimacs));
        TEscapeWhenShown escape(memo);
        QTest::mouseClick(page->SAT_OpenConstraintFile_Button, Qt::LeftButton);
        QCOMPARE(escape.Shown, QStringLiteral("Open is running: Esc or Stop ends it"));
        QCOMPARE(memo->ToVector(), std::vector<std::string>{"typed"});
        QVERIFY(memo->HasTypedEdits());
        QCOMPARE(TraceForm->RichEdit1->ToVector().back(), std::string("Load interrupted"));
        QCOMPARE(ProgramStatus::Bar()->Text(), QStringLiteral("Open stopped"));
    }
};

QTEST_MAIN(MemoLoadTest)
#include "Memo_load_test.moc"
