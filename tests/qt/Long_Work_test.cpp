// Long work run in the window's thread: what it shows and when, which input it
// lets through (Escape, Stop, closing the main window) and which it refuses with
// a word, and that the window is as it was once the work is over.
#include <QtTest>

#include "qt/Qt_Long_Work.h"
#include "qt/Qt_Status_Bar.h"

namespace {

// A main window with the program's status bar, a button and an edit.
struct TWindow {
    TWindow() {
        window.setStatusBar(bar);
        auto* central = new QWidget(&window);
        auto* layout = new QVBoxLayout(central);
        layout->addWidget(button);
        layout->addWidget(edit);
        window.setCentralWidget(central);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        QObject::connect(bar, &TStatusBar::StopWanted, [] { TLongWork::StopCurrent(); });
        window.show();
        edit->setFocus();
    }
    QMainWindow window;
    TStatusBar* bar = new TStatusBar(&window);
    QPushButton* button = new QPushButton(QStringLiteral("Press"));
    QLineEdit* edit = new QLineEdit;
    int clicks = 0;
};

// Reports as an engine would, every millisecond, until the work has shown
// itself in the status bar; false when it gave up after five seconds.
bool ReportUntilShown(TLongWork& work) {
    QElapsedTimer spent;
    spent.start();
    for (std::int64_t done = 0; !work.Shown(); ++done) {
        if (spent.elapsed() > 5000) return false;
        work.Report(done, 1000000);
        QThread::msleep(1);
    }
    return true;
}

// One more report after the events had time to be due.
bool ReportOnce(TLongWork& work) {
    QThread::msleep(15);
    return work.Report(1, 2);
}

}  // namespace

class LongWorkTest : public QObject {
    Q_OBJECT
  private slots:
    void shortWorkShowsNothingAndRunsNoEvents() {
        TWindow w;
        w.bar->Say(QStringLiteral("Before"));
        {
            TLongWork work(QStringLiteral("Text distance"));
            // A click that arrives meanwhile waits for the work to end.
            QMetaObject::invokeMethod(w.button, &QPushButton::click, Qt::QueuedConnection);
            for (int i = 0; i < 50; ++i) QVERIFY(!work.Report(i, 50));
            QVERIFY(!work.Shown());
            QCOMPARE(w.clicks, 0);
            QVERIFY(!QApplication::overrideCursor());
        }
        QCOMPARE(w.bar->Text(), QStringLiteral("Before"));
        QCoreApplication::processEvents();
        QCOMPARE(w.clicks, 1);
    }

    void afterHalfASecondTheStatusBarShowsTheWork() {
        TWindow w;
        {
            TLongWork work(QStringLiteral("Text distance"));
            QVERIFY(ReportUntilShown(work));
            QVERIFY(w.bar->Running());
            QCOMPARE(w.bar->Text(),
                     QStringLiteral("Text distance is running: Esc or Stop ends it"));
            QVERIFY(w.bar->Stop_Button->isVisible());
            QVERIFY(w.bar->fProgress->isVisible());
            QVERIFY(QApplication::overrideCursor());
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
        }
        QVERIFY(!w.bar->Running());
        QCOMPARE(w.bar->Text(), QStringLiteral("Text distance ended"));
        QVERIFY(!w.bar->Stop_Button->isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    // Clicks, keys, shortcuts and the wheel reach no control while the work runs:
    // each is answered in the status bar, and the work goes on.
    void otherInputIsRefusedWithAWord() {
        TWindow w;
        bool shortcutRan = false;
        auto* quit = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), &w.window);
        QObject::connect(quit, &QShortcut::activated, [&] { shortcutRan = true; });
        {
            TLongWork work(QStringLiteral("Analysis"));
            QVERIFY(ReportUntilShown(work));
            QTest::mouseClick(w.button, Qt::LeftButton);
            QCOMPARE(w.clicks, 0);
            QCOMPARE(w.bar->Text(), QStringLiteral("Analysis is running: Esc or Stop ends it"));
            QVERIFY(work.Answering());
            QTest::keyClicks(w.edit, QStringLiteral("abc"));
            QTest::keyClick(&w.window, Qt::Key_Q, Qt::ControlModifier);
            QVERIFY(w.edit->text().isEmpty());
            QVERIFY(!shortcutRan);
            QVERIFY(!ReportOnce(work));
        }
        // Once the work is over, the same input reaches the controls again.
        QTest::mouseClick(w.button, Qt::LeftButton);
        QCOMPARE(w.clicks, 1);
        QTest::keyClicks(w.edit, QStringLiteral("abc"));
        QCOMPARE(w.edit->text(), QStringLiteral("abc"));
    }

    void escapeAsksTheWorkToStop() {
        TWindow w;
        TLongWork work(QStringLiteral("Genetic search"));
        QVERIFY(ReportUntilShown(work));
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QVERIFY(ReportOnce(work));
        QVERIFY(w.edit->text().isEmpty());
    }

    void theStopButtonAsksTheWorkToStop() {
        TWindow w;
        {
            TLongWork work(QStringLiteral("Genetic search"));
            QVERIFY(ReportUntilShown(work));
            QTest::mouseClick(w.bar->Stop_Button, Qt::LeftButton);
            QVERIFY(ReportOnce(work));
        }
        QCOMPARE(w.bar->Text(), QStringLiteral("Genetic search stopped"));
    }

    void closingTheMainWindowAsksTheWorkToStop() {
        TWindow w;
        TLongWork work(QStringLiteral("Brain build"));
        QVERIFY(ReportUntilShown(work));
        w.window.close();
        QVERIFY(ReportOnce(work));
    }

    // Work that waits on a device shows at once; its own words for the end win.
    void workShownAtOnceWithItsOwnEnd() {
        TWindow w;
        {
            TLongWork work(QStringLiteral("Capture"), TLongWork::TShow::AtOnce,
                           QStringLiteral("A capture is running: Esc or Stop ends it"));
            QVERIFY(work.Shown());
            QVERIFY(w.bar->Running());
            work.SetEndText(QStringLiteral("Capture ended after 3 passes"));
            QTest::mouseClick(w.button, Qt::LeftButton);
            QCOMPARE(w.bar->Text(), QStringLiteral("A capture is running: Esc or Stop ends it"));
            QVERIFY(!work.StopAsked());
        }
        QCOMPARE(w.bar->Text(), QStringLiteral("Capture ended after 3 passes"));
    }

    // A modal box that the work opens gets its input as usual.
    void aModalBoxOfTheWorkGetsItsInput() {
        TWindow w;
        TLongWork work(QStringLiteral("Capture"), TLongWork::TShow::AtOnce);
        QMessageBox box(QMessageBox::Information, QStringLiteral("Next"), QStringLiteral("Next"),
                        QMessageBox::Ok, &w.window);
        QTimer::singleShot(0, [&box] { QTest::keyClick(&box, Qt::Key_Return); });
        QCOMPARE(box.exec(), int(QMessageBox::Ok));
        QVERIFY(!work.StopAsked());
    }

    // The Stop button reaches the innermost work only, and none once it is over.
    void stopReachesTheInnermostWork() {
        TWindow w;
        TLongWork outer(QStringLiteral("Outer"), TLongWork::TShow::AtOnce);
        {
            TLongWork inner(QStringLiteral("Inner"), TLongWork::TShow::AtOnce);
            QCOMPARE(TLongWork::Current(), &inner);
            TLongWork::StopCurrent();
            QVERIFY(inner.StopAsked());
        }
        QCOMPARE(TLongWork::Current(), &outer);
        QVERIFY(!outer.StopAsked());
    }
};

QTEST_MAIN(LongWorkTest)

#include "Long_Work_test.moc"
