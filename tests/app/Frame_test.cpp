// The frame around the pages: the menus and their keys, the status bar and its
// Stop button, the guide and About windows, and the places of the windows and the
// folders of the dialogs kept from one run to the next.
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>
#include <set>

#include "app/Chrono_Form.h"
#include "app/Debug_Manager_Unit.h"
#include "app/Help_Forms.h"
#include "app/MyDatabase_Form.h"
#include "app/Trace_Form.h"
#include "diagnostics/Chrono_Unit.h"
#include "support/Window_Fixture.h"

namespace {

const std::vector<std::string> kUnsatisfiable{
    "[General Datas]", "Clause Number=2", "Total Literal Number=1", "[Clause 0]", "Nb Literals=1",
    "Literal0=1",      "[Clause 1]",      "Nb Literals=1",          "Literal0=-1"};

// The letter after the "&" of a caption, in upper case; none when it has no "&".
QChar MnemonicOf(const QString& caption) {
    const qsizetype at = caption.indexOf(u'&');
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toUpper() : QChar();
}

QAction* ItemNamed(const char* name) {
    return Kavelin_Form->findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;

  private slots:
    void init() { fFixture = new TWindowFixture; }
    void cleanup() { delete std::exchange(fFixture, nullptr); }

    void theMenusHoldTheirItemsAndKeys() {
        QStringList menus;
        for (QAction* menu : Kavelin_Form->menuBar()->actions()) menus << menu->text();
        QCOMPARE(menus, (QStringList{"&File", "&View", "SAT", "&Help"}));
        const std::vector<std::tuple<const char*, QString, QKeySequence>> items{
            {"File_Quit_Action", "&Quit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
            {"View_Trace_Action", "&Trace", QKeySequence(Qt::CTRL | Qt::Key_T)},
            {"View_Profiler_Action", "&Profiler", QKeySequence(Qt::Key_F12)},
            {"View_Database_Action", "&Database", QKeySequence()},
            {"View_Debug_Action", "De&bug", QKeySequence()},
            {"Help_Guide_Action", "Kavelin &Guide", QKeySequence(Qt::Key_F1)},
            {"Help_About_Action", "&About Kavelin", QKeySequence()}};
        for (const auto& [name, caption, keys] : items) {
            QAction* item = ItemNamed(name);
            QVERIFY2(item, name);
            QCOMPARE(item->text(), caption);
            QCOMPARE(item->shortcut(), keys);
        }
        // Alt and a menu's letter must not take a letter that a button of the
        // main window already answers to.
        std::set<QChar> buttonLetters;
        for (const QAbstractButton* button : Kavelin_Form->findChildren<QAbstractButton*>())
            if (const QChar letter = MnemonicOf(button->text()); !letter.isNull())
                buttonLetters.insert(letter);
        QVERIFY(buttonLetters.count(u'Q'));  // the walk reaches the buttons
        for (const QString& menu : menus)
            QVERIFY2(!buttonLetters.count(MnemonicOf(menu)), qPrintable(menu));
    }

    // At start the focus is on the page control's current tab, where Return
    // presses nothing; the program goes on.
    // At the first start the trace stands beside the main window, inside the
    // screen, and no window lies over another.
    void theTraceStandsBesideTheMainWindowAtTheFirstStart() {
        QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1280, 1024));
        const QRect main = Kavelin_Form->frameGeometry();
        const QRect trace = TraceForm->frameGeometry();
        QVERIFY(!main.intersects(trace));
        QVERIFY(trace.left() > main.right());
        QCOMPARE(trace.top(), main.top());
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(trace));
    }

    void returnAtStartPressesNothing() {
        QWidget* focus = Kavelin_Form->focusWidget();
        QVERIFY(focus);
        QCOMPARE(focus->objectName(),
                 Kavelin_Form->PageControl1->CurrentPage()->objectName() + "_Tab");
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter);
        QVERIFY(Kavelin_Form->isVisible());
        QVERIFY(Chrono);
    }

    void viewItemsShowTheirWindowsInFrontAndAreCheckedWhileShown() {
        const std::vector<std::pair<const char*, QWidget*>> windows{
            {"View_Trace_Action", TraceForm},
            {"View_Profiler_Action", ChronoForm},
            {"View_Database_Action", MyDatabase_Form},
            {"View_Debug_Action", Debug_Form}};
        TraceForm->close();
        QVERIFY(!TraceForm->isVisible());
        for (const auto& [name, window] : windows) {
            QAction* item = ItemNamed(name);
            emit Kavelin_Form->View_Menu->aboutToShow();
            QCOMPARE(item->isChecked(), false);
            item->trigger();
            QVERIFY2(window->isVisible(), name);
            emit Kavelin_Form->View_Menu->aboutToShow();
            QVERIFY2(item->isChecked(), name);
            // Choosing it again keeps the window shown and the item checked.
            item->trigger();
            QVERIFY(window->isVisible());
            QVERIFY(item->isChecked());
        }
        // The trace closed by its close box comes back with Ctrl+T.
        TraceForm->close();
        QApplication::setActiveWindow(Kavelin_Form);
        QTest::keyClick(Kavelin_Form, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(TraceForm->isVisible());
        // F12 shows the profiler, as it did before the menus.
        ChronoForm->hide();
        QTest::keyClick(Kavelin_Form, Qt::Key_F12);
        QVERIFY(ChronoForm->isVisible());
    }

    void quitInTheMenuDoesWhatTheButtonDoes() {
        ItemNamed("File_Quit_Action")->trigger();
        QVERIFY(Chrono == nullptr);
        QVERIFY(!Kavelin_Form->isVisible());
    }

    // A main window destroyed by another X client closes without the question
    // about typed work: there is no window left to go on with.
    void aDestroyedMainWindowClosesWithoutAsking() {
        TMemo* memo = Kavelin_Form->SatPage->SAT_Memo;
        QTest::keyClicks(memo, QStringLiteral("typed"));
        QVERIFY(memo->HasTypedEdits());
        Kavelin_Form->CloseWithoutAsking();
        QVERIFY(!Kavelin_Form->isVisible());
        QVERIFY(fFixture->Boxes.fTexts.empty());
    }

    void theGuideAndTheAboutBox() {
        QApplication::setActiveWindow(Kavelin_Form);
        QTest::keyClick(Kavelin_Form, Qt::Key_F1);
        auto* guide = qobject_cast<TGuideForm*>(Kavelin_Form->GuideForm());
        QVERIFY(guide && guide->isVisible());
        QCOMPARE(guide->windowTitle(), QStringLiteral("Kavelin Guide"));
        const QString text = guide->Guide_Browser->toPlainText();
        // Rendered, not shown as Markdown source: the headings lose their marks.
        QVERIFY(text.contains(QStringLiteral("The pages")));
        QVERIFY(!text.contains(QStringLiteral("## The pages")));
        QVERIFY(!GuideFile().isEmpty());
        // A second F1 brings the same window back.
        guide->close();
        QTest::keyClick(Kavelin_Form, Qt::Key_F1);
        QCOMPARE(Kavelin_Form->GuideForm(), guide);
        QVERIFY(guide->isVisible());

        ItemNamed("Help_About_Action")->trigger();
        auto* about = qobject_cast<TAboutBox*>(Kavelin_Form->AboutBox());
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("About Kavelin"));
        const QString words = about->About_Label->text();
        QVERIFY(
            words.startsWith(QStringLiteral("Kavelin ") + QCoreApplication::applicationVersion()));
        QVERIFY(!QCoreApplication::applicationVersion().isEmpty());
        QVERIFY(words.contains(QStringLiteral("GPL-3.0-or-later")));
        for (const char* library : {"Qt", "PCRE", "libjpeg", "libsndfile", "PulseAudio"})
            QVERIFY2(words.contains(QRegularExpression(
                         QStringLiteral("\n  %1 [^\n]*\\d").arg(QLatin1String(library)))),
                     library);
        QVERIFY(words.contains(QLatin1String(qVersion())));
        QVERIFY(!QApplication::windowIcon().isNull());
    }

    void theStatusBarSaysWhatRunsAndStopEndsTheSolve() {
        TStatusBar* bar = Kavelin_Form->Kavelin_StatusBar;
        QCOMPARE(ProgramStatus::Bar(), bar);
        QVERIFY(bar->Stop_Button->isHidden());
        ProgramStatus::Say(QStringLiteral("Loaded"));
        QCOMPARE(bar->Text(), QStringLiteral("Loaded"));
        ProgramStatus::RunStarts(QStringLiteral("Analysis"), false);
        QVERIFY(bar->Running());
        QVERIFY(bar->Stop_Button->isHidden());
        QCOMPARE(bar->Text(), QStringLiteral("Analysis is running"));
        ProgramStatus::RunProgress(3'000'000'000'000, 6'000'000'000'000);
        QVERIFY(!bar->fProgress->isHidden());
        QCOMPARE(bar->fProgress->value() * 2, bar->fProgress->maximum());
        ProgramStatus::RunEnds();
        QVERIFY(bar->fProgress->isHidden());
        QCOMPARE(bar->Text(), QStringLiteral("Analysis ended"));

        // A solve that never ends shows Stop while it runs; Stop ends it as
        // Escape does, with the trace's line and a word in the bar.
        TSatPage* page = Kavelin_Form->SatPage;
        page->SAT_Memo->Assign(kUnsatisfiable);
        QTest::mouseClick(page->SAT_Load_Button, Qt::LeftButton);
        bool stopShown = false;
        QString runningText;
        QTimer::singleShot(100, bar, [&] {
            stopShown = bar->Stop_Button->isVisible();
            runningText = bar->Text();
            QTest::mouseClick(bar->Stop_Button, Qt::LeftButton);
        });
        QTest::mouseClick(page->SAT_Solve_Button, Qt::LeftButton);
        QVERIFY(stopShown);
        // The bar counts the steps and the valid clauses, grouped by thousands.
        QVERIFY2(QRegularExpression(
                     QStringLiteral(
                         "^Solving: [1-9][0-9]{0,2}(,[0-9]{3})* steps?, [0-2] of 2 clauses valid "
                         "\\(Esc to stop\\)$"))
                     .match(runningText)
                     .hasMatch(),
                 qPrintable(runningText));
        QCOMPARE(TraceForm->RichEdit1->ToVector().back(), std::string("Solve interrupted"));
        QVERIFY(bar->Stop_Button->isHidden());
        const auto steps = [page] {
            const qint64 n = page->SolveSteps();
            return QLocale(QLocale::English).toString(n) +
                   (n == 1 ? QStringLiteral(" step") : QStringLiteral(" steps"));
        };
        QCOMPARE(bar->Text(), QStringLiteral("Stopped after %1: %2 of 2 valid")
                                  .arg(steps())
                                  .arg(SatSolver->ValidClauseCount()));
        // A solved problem says so.
        page->Button4Click();
        QTest::mouseClick(page->SAT_Load_Button, Qt::LeftButton);
        QCOMPARE(bar->Text(), QStringLiteral("Loaded 80 clauses over 24 variables"));
        QTest::mouseClick(page->SAT_Solve_Button, Qt::LeftButton);
        QCOMPARE(bar->Text(), QStringLiteral("Solved in %1: 80 of 80 clauses valid").arg(steps()));
    }

    // What the first run saves at its exit, the next run restores: places,
    // which windows show, and the folders of the dialogs.
    void placesAndFoldersComeBackAfterARestart() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        Kavelin_Form->move(screen.topLeft() + QPoint(30, 40));
        const QRect mainPlace = Kavelin_Form->geometry();
        TraceForm->setGeometry(QRect(screen.topLeft() + QPoint(40, 50), QSize(420, 640)));
        TraceForm->hide();
        Debug_Form->show();
        Debug_Form->move(screen.topLeft() + QPoint(60, 70));
        const QRect debugPlace = Debug_Form->geometry();
        TSatPage* page = Kavelin_Form->SatPage;
        // The first "&Open" starts in its data folder; the next in the folder
        // of the file chosen.
        QTemporaryDir chosen;
        const QString problem = chosen.filePath(QStringLiteral("problem.txt"));
        QFile(problem).open(QIODevice::WriteOnly);
        QString startedIn;
        SetFileDialogResponder([&](const TFileDialog& dialog) -> std::optional<QString> {
            startedIn = dialog.StartFolder();
            return problem;
        });
        page->SAT_OpenConstraintFile_ButtonClick();
        QCOMPARE(QDir(startedIn).canonicalPath(),
                 QDir(QStringLiteral("Data/SATSolver")).canonicalPath());
        page->SAT_OpenConstraintFile_ButtonClick();
        QCOMPARE(startedIn, chosen.path());
        Kavelin_Form->close();
        const QByteArray saved = fFixture->SavedSettings();
        QVERIFY(!saved.isEmpty());

        delete std::exchange(fFixture, new TWindowFixture(saved));
        QCOMPARE(Kavelin_Form->geometry(), mainPlace);
        QCOMPARE(TraceForm->geometry().size(), QSize(420, 640));
        QVERIFY(!TraceForm->isVisible());
        QVERIFY(Kavelin_Form->isVisible());
        QVERIFY(Debug_Form->isVisible());
        QCOMPARE(Debug_Form->geometry(), debugPlace);
        QVERIFY(!ChronoForm->isVisible());
        SetFileDialogResponder([&](const TFileDialog& dialog) -> std::optional<QString> {
            startedIn = dialog.StartFolder();
            return std::nullopt;
        });
        Kavelin_Form->SatPage->SAT_OpenConstraintFile_ButtonClick();
        QCOMPARE(startedIn, chosen.path());
        // A dialog whose last folder is gone starts in its data folder again.
        chosen.remove();
        Kavelin_Form->SatPage->SAT_OpenConstraintFile_ButtonClick();
        QCOMPARE(QDir(startedIn).canonicalPath(),
                 QDir(QStringLiteral("Data/SATSolver")).canonicalPath());
    }

    // A window saved where the screen no longer reaches (a larger screen, a
    // second one unplugged) comes back whole inside the screen.
    void aWindowSavedOutsideTheScreenComesBackInside() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        TraceForm->setGeometry(QRect(screen.topLeft() + QPoint(10, 10), QSize(420, 640)));
        Kavelin_Form->close();
        QByteArray saved = fFixture->SavedSettings();
        // The same settings, with the trace moved far to the right and below.
        {
            TWindowFixture far;
            TraceForm->setGeometry(QRect(screen.topLeft() + QPoint(5000, 4000), QSize(420, 640)));
            Kavelin_Form->close();
            saved = far.SavedSettings();
        }
        delete std::exchange(fFixture, new TWindowFixture(saved));
        QVERIFY2(screen.contains(TraceForm->geometry()),
                 qPrintable(QStringLiteral("%1,%2").arg(TraceForm->x()).arg(TraceForm->y())));
        QCOMPARE(TraceForm->size(), QSize(420, 640));
    }
};

// On a desktop's screen of 1280 x 1024 rather than the offscreen default of
// 800 x 600, where the main window alone does not fit.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            QByteArrayLiteral("offscreen:configfile=" KAVELIN_TEST_DATA "/screens/1280x1024.json"));
    QApplication app(argc, argv);
    FrameTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "Frame_test.moc"
