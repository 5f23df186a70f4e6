// The trace, profiling, debug and database windows as a person uses them:
// resized, never smaller than their layout, the trace's context menu, and the
// profiler's charts with ten timed sections.
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QClipboard>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>
#include <thread>

#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/MyDatabase_Form.h"
#include "app/Trace_Form.h"
#include "base/File_Io.h"
#include "base/Real_Format.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "qt/Qt_Status_Bar.h"
#include "support/Window_Fixture.h"

namespace {

std::string Bytes(const QString& fileName) {
    return ReadFileBytes(QFile::encodeName(fileName).toStdString());
}

QStringList VisibleTexts(const QList<QAction*>& actions) {
    QStringList texts;
    for (QAction* action : actions)
        if (!action->isSeparator()) texts << action->text().remove(QLatin1Char('&'));
    return texts;
}

QBarCategoryAxis* CategoryAxis(QAbstractBarSeries* series) {
    for (QAbstractAxis* axis : series->attachedAxes())
        if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis)) return categories;
    return nullptr;
}

// Every direct child of the window lies inside `area`.
bool ControlsInside(QWidget* window, QRect area) {
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!area.contains(child->geometry())) {
            qWarning() << child->objectName() << child->geometry() << "outside" << area;
            return false;
        }
    return true;
}

}  // namespace

class AuxiliaryWindowsTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;
    QTemporaryDir fDir;

    QString PathOf(const char* name) const { return fDir.filePath(QString::fromLatin1(name)); }
    TTraceText& Trace() { return *TraceForm->Text(); }

  private slots:
    void initTestCase() {
        QVERIFY(fDir.isValid());
        fFixture = new TWindowFixture;
    }
    void cleanupTestCase() { delete fFixture; }
    void init() {
        Trace().SetPaced(false);
        Trace().Clear();
        TraceForm->resize(326, 582);
        fFixture->Boxes.fTexts.clear();
    }

    // The labels keep their places; the trace keeps its left and top and takes
    // every pixel the window gains, and gives them back.
    void theTraceFollowsItsWindow() {
        TMemo* trace = TraceForm->RichEdit1;
        QCOMPARE(trace->geometry(), QRect(8, 96, 297, 441));
        QList<QPoint> labels;
        for (QLabel* label : TraceForm->findChildren<QLabel*>()) labels << label->pos();
        QCOMPARE(labels.size(), 9);

        TraceForm->resize(500, 800);
        QCOMPARE(trace->geometry(), QRect(8, 96, 297 + 174, 441 + 218));
        TraceForm->resize(326, 700);
        QCOMPARE(trace->geometry(), QRect(8, 96, 297, 441 + 118));
        TraceForm->resize(326, 582);
        QCOMPARE(trace->geometry(), QRect(8, 96, 297, 441));
        QList<QPoint> after;
        for (QLabel* label : TraceForm->findChildren<QLabel*>()) after << label->pos();
        QCOMPARE(after, labels);
    }

    // The memo and Quit stay; the charts share the width gained (two fifths and
    // three fifths) and both take the height gained.
    void theProfilerChartsShareTheRoom() {
        ChronoForm->ShowProfile();
        ChronoForm->resize(800 + 200, 272 + 100);
        QCOMPARE(ChronoForm->Chrono_Memo->geometry(), QRect(8, 8, 241, 89));
        QCOMPARE(ChronoForm->Chrono_Quit_Button->geometry(), QRect(256, 8, 25, 41));
        QCOMPARE(ChronoForm->Chrono_NbCalls_Chart->geometry(), QRect(8, 104, 265 + 80, 129 + 100));
        QCOMPARE(ChronoForm->Chrono_FuncByTime_Chart->geometry(),
                 QRect(336 + 80, 8, 369 + 120, 217 + 100));
        ChronoForm->resize(800, 272);
        QCOMPARE(ChronoForm->Chrono_NbCalls_Chart->geometry(), QRect(8, 104, 265, 129));
        QCOMPARE(ChronoForm->Chrono_FuncByTime_Chart->geometry(), QRect(336, 8, 369, 217));
        ChronoForm->Chrono_Quit_Button->click();
        QVERIFY(!ChronoForm->isVisible());
    }

    // Each window's minimum is its layout's size, which holds all its controls:
    // shrinking it further leaves it at that size, nothing cut off.
    void noWindowIsSmallerThanItsLayout() {
        const std::pair<QWidget*, QSize> windows[] = {{TraceForm, {326, 582}},
                                                      {ChronoForm, {800, 272}},
                                                      {Debug_Form, {362, 446}},
                                                      {MyDatabase_Form, {841, 434}}};
        for (const auto& [window, layout] : windows) {
            QCOMPARE(window->minimumSize(), layout);
            window->resize(100, 100);
            QCOMPARE(window->size(), layout);
            QVERIFY2(ControlsInside(window, window->rect()), qPrintable(window->objectName()));
        }
    }

    // The rich edit's own menu (undo, cut, paste ...) gives way to the four
    // items of the trace, in this order, and a right click shows them.
    void theTraceMenuHoldsItsFourItems() {
        TMemo* trace = TraceForm->RichEdit1;
        const QStringList expected{"Copy", "Select All", "Save As...", "Clear"};
        QCOMPARE(VisibleTexts(trace->actions()), expected);
        QStringList shown;
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                shown = VisibleTexts(menu->actions());
                menu->close();
            }
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20),
                                trace->viewport()->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(trace->viewport(), &click);
        QCOMPARE(shown, expected);
    }

    void copyAndSelectAllWorkOnTheTrace() {
        Messenger.Send("alpha");
        Messenger.Send("beta");
        QVERIFY(!TraceForm->Trace_Copy_Action->isEnabled());
        TraceForm->Trace_SelectAll_Action->trigger();
        QVERIFY(TraceForm->Trace_Copy_Action->isEnabled());
        QGuiApplication::clipboard()->clear();
        TraceForm->Trace_Copy_Action->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("alpha\nbeta"));
    }

    // The whole trace in CR LF lines and the code page's bytes, replacing the
    // file whole; a cancelled dialog or a failed write leaves everything as it
    // was, the failure told in the box.
    void saveAsWritesTheTraceWholeOrNotAtAll() {
        Messenger.Send("first");
        Messenger.Send("\xE9t\xE9 : 12,5");
        Messenger.Send("");
        const QString target = PathOf("trace.txt");
        {
            QFile old(target);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older and longer text that must not remain\n");
        }
        fFixture->NextFileName = target;
        TraceForm->Trace_SaveAs_Action->trigger();
        QCOMPARE(fFixture->DialogsShown.back(), QStringLiteral("Trace_SaveDialog"));
        QCOMPARE(Bytes(target), std::string("first\r\n\xE9t\xE9 : 12,5\r\n\r\n"));
        QVERIFY(fFixture->Boxes.fTexts.empty());
        QCOMPARE(ProgramStatus::Bar()->Text(), QStringLiteral("Trace saved to ") + target);

        Messenger.Send("more");
        fFixture->NextFileName.reset();
        TraceForm->Trace_SaveAs_Action->trigger();
        QCOMPARE(Bytes(target), std::string("first\r\n\xE9t\xE9 : 12,5\r\n\r\n"));
        QCOMPARE(QDir(fDir.path()).entryList(QDir::Files), QStringList{"trace.txt"});
        QVERIFY(fFixture->Boxes.fTexts.empty());

        fFixture->NextFileName = PathOf("missing/trace.txt");
        TraceForm->Trace_SaveAs_Action->trigger();
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QVERIFY(QString::fromStdString(fFixture->Boxes.fTexts[0]).contains("missing/trace.txt"));
        QCOMPARE(QDir(fDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"trace.txt"});
        QCOMPARE(Trace().Count(), 4);
    }

    // While a search runs, the file receives every line: those kept aside for
    // the next frame, and the whole held trace of which the rich edit shows only
    // the newest.
    void saveAsDuringASearchWritesEveryLine() {
        Trace().SetPaced(true);
        Messenger.Send("kept aside");
        Messenger.SetLinesToReplace(1);
        Messenger.Send("replaced");
        fFixture->NextFileName = PathOf("pending.txt");
        TraceForm->Trace_SaveAs_Action->trigger();
        QCOMPARE(Bytes(PathOf("pending.txt")), std::string("replaced\r\n"));

        std::string expected = "replaced\r\n";
        for (size_t i = 0; i < TTraceText::kHoldAbove + 500; ++i) {
            Messenger.Send("line " + std::to_string(i));
            expected += "line " + std::to_string(i) + "\r\n";
        }
        QVERIFY(Trace().Holding());
        QCoreApplication::processEvents();
        QVERIFY(TraceForm->RichEdit1->Count() <= int(TTraceText::kShownWhileHeld));
        fFixture->NextFileName = PathOf("held.txt");
        TraceForm->Trace_SaveAs_Action->trigger();
        QCOMPARE(Bytes(PathOf("held.txt")), expected);
        Trace().SetPaced(false);
        QCOMPARE(TraceForm->RichEdit1->Count(), int(TTraceText::kHoldAbove) + 501);
    }

    // Clear empties the trace at once, also what a running search kept aside or
    // held, and the trace goes on with the next line.
    void clearEmptiesTheTraceInEveryState() {
        Messenger.Send("one");
        Messenger.Send("two");
        TraceForm->Trace_Clear_Action->trigger();
        QCOMPARE(Trace().Count(), 0);
        QCOMPARE(TraceForm->RichEdit1->Count(), 0);
        Messenger.Send("after");
        QCOMPARE(TraceForm->RichEdit1->QtLines(), QStringList{"after"});

        Trace().SetPaced(true);
        Messenger.Send("kept aside");
        TraceForm->Trace_Clear_Action->trigger();
        QCOMPARE(Trace().Count(), 0);
        Trace().SetPaced(false);
        QCOMPARE(TraceForm->RichEdit1->Count(), 0);

        Trace().SetPaced(true);
        for (size_t i = 0; i <= TTraceText::kHoldAbove; ++i) Messenger.Send("held");
        QVERIFY(Trace().Holding());
        TraceForm->Trace_Clear_Action->trigger();
        QVERIFY(!Trace().Holding());
        QVERIFY(!TraceForm->RichEdit1->isReadOnly());
        QCOMPARE(Trace().Count(), 0);
        Messenger.Send("next");
        QCOMPARE(Trace().Count(), 1);
        Trace().SetPaced(false);
        QCOMPARE(TraceForm->RichEdit1->QtLines(), QStringList{"next"});
    }

    // Ten sections, one of a long name: at the window's smallest size every
    // name reads whole on the time chart, one line per row, but the long one,
    // which ends in an ellipsis and reads whole once the chart is wide enough;
    // each bar's tool tip names its section in full.
    void theProfilerLabelsReadWithTenSections() {
        const std::string longName = "Reading the brain network's whole INI file";
        const std::vector<std::string> names{"distance",
                                             "SufficientCover",
                                             "Analyse Image",
                                             "Create New Part",
                                             "Display Part List",
                                             "Extend Part",
                                             "Calculate Homogeneity",
                                             "Clean",
                                             "Solve",
                                             longName};
        TChrono chrono;
        for (size_t i = 0; i < names.size(); ++i)
            for (size_t call = 0; call <= i; ++call) {
                chrono.StartTimer(names[i]);
                std::this_thread::sleep_for(std::chrono::microseconds(20));
                chrono.StopTimer(names[i]);
            }
        const std::vector<TSectionTimes> sections = ChronoTable().Sections();
        QCOMPARE(sections.size(), names.size());
        ChronoForm->ShowProfile();
        QCoreApplication::processEvents();

        QBarCategoryAxis* numbers = CategoryAxis(ChronoForm->Series1);
        QCOMPARE(numbers->count(), 10);
        QVERIFY(!numbers->labelsTruncated());
        QBarCategoryAxis* axis = CategoryAxis(ChronoForm->FuncByTime_Series);
        const QStringList shown = axis->categories();
        QCOMPARE(shown.size(), 10);
        QVERIFY(!axis->labelsTruncated());
        // The first section at the top, the last at the bottom (the first category).
        for (int i = 0; i < 9; ++i)
            QCOMPARE(shown[9 - i], QString::number(i + 1) + " " + QString::fromStdString(names[i]));
        QVERIFY(shown[0].startsWith("10 Reading the "));
        QVERIFY(shown[0].endsWith(QChar(0x2026)));
        const QChart* chart = ChronoForm->Chrono_FuncByTime_Chart->chart();
        QVERIFY(chart->plotArea().height() / 10 >= QFontMetrics(axis->labelsFont()).height());
        QVERIFY(chart->plotArea().left() >
                QFontMetrics(axis->labelsFont()).horizontalAdvance(shown[0]));

        ChronoForm->resize(1600, 500);
        QCOMPARE(CategoryAxis(ChronoForm->FuncByTime_Series)->categories().first(),
                 "10 " + QString::fromStdString(longName));
        ChronoForm->resize(800, 272);
        QCOMPARE(axis->categories(), shown);

        QBarSet* time = ChronoForm->FuncByTime_Series->barSets().first();
        emit ChronoForm->FuncByTime_Series->hovered(true, 0, time);
        QVERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), "10 " + QString::fromStdString(longName) + ": " +
                                       QString::fromStdString(FloatToStr(sections[9].TotalMs())) +
                                       " ms in 10 calls");
        emit ChronoForm->FuncByTime_Series->hovered(false, 0, time);
        QTRY_VERIFY(!QToolTip::isVisible());
        emit ChronoForm->Series1->hovered(true, 2, ChronoForm->Series1->barSets().first());
        QCOMPARE(QToolTip::text(), QStringLiteral("3 Analyse Image: 3 calls"));
        ChronoForm->Chrono_Quit_Button->click();
    }
};

QTEST_MAIN(AuxiliaryWindowsTest)
#include "Auxiliary_windows_test.moc"
