// The main window worked from the keyboard as on a classic desktop: what an
// up-down's edit shows is what a handler uses, Tab leaves memos, Return presses a
// focused button, memos follow the lines they gain, and mnemonics that two
// captions share move the focus between them without pressing either.
#include <QtTest>

#include "support/Window_Fixture.h"

class DesktopKeysTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;

    void ShowPage(int index) {
        Kavelin_Form->PageControl1->SetCurrentIndex(index);
        Kavelin_Form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Kavelin_Form));
    }

    static void Retype(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

  private slots:
    void init() { fFixture = new TWindowFixture; }
    void cleanup() {
        delete fFixture;
        fFixture = nullptr;
    }

    void theUpDownValuesShownAreTheValuesGenerated() {
        ShowPage(2);
        TSatPage* page = Kavelin_Form->SatPage;
        Retype(page->Sat_NbCl_Edit, QStringLiteral("150"));
        Retype(page->Sat_NbLit_Edit, QStringLiteral("abc"));
        // The focus is still in the edit when the button is pressed from the keyboard.
        QTest::mouseClick(page->SAT_Random_Generation_Button, Qt::LeftButton);
        QCOMPARE(page->Sat_NbCl_Edit->text(), QStringLiteral("100"));
        QCOMPARE(page->Sat_NbLit_Edit->text(), QStringLiteral("24"));
        const std::vector<std::string> generated = page->SAT_Memo->ToVector();
        QCOMPARE(generated[1], std::string("Clause Number=100"));
        QCOMPARE(generated[2], std::string("Total Literal Number=24"));

        // Tab leaves the memo without typing into it, and skips the arrows.
        page->SAT_Memo->setFocus();
        QTest::keyClick(page->SAT_Memo, Qt::Key_Tab);
        QVERIFY(!page->SAT_Memo->hasFocus());
        QCOMPARE(page->SAT_Memo->ToVector(), generated);
        page->Sat_NbCl_Edit->setFocus();
        QTest::keyClick(page->Sat_NbCl_Edit, Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != nullptr);
        QVERIFY(!qobject_cast<QToolButton*>(QApplication::focusWidget()));
    }

    void returnPressesAFocusedButtonAndTheMemoFollowsItsLines() {
        ShowPage(0);
        TTextDistancePage* page = Kavelin_Form->TextDistancePage;
        page->TextDistance_Button->setFocus();
        for (int i = 0; i < 30; ++i) QTest::keyClick(page->TextDistance_Button, Qt::Key_Return);
        TMemo* memo = page->Text_Distance_Memo;
        QCOMPARE(memo->Count(), 30);
        QVERIFY(memo->verticalScrollBar()->value() > 0);
        const QPoint bottomLeft(2, memo->viewport()->height() - 6);
        QCOMPARE(memo->cursorForPosition(bottomLeft).blockNumber(), 29);
    }

    void sharedMnemonicsMoveTheFocusBetweenTheirButtons() {
        ShowPage(2);
        TSatPage* sat = Kavelin_Form->SatPage;
        QTest::keyClick(Kavelin_Form, Qt::Key_S, Qt::AltModifier);
        QVERIFY(sat->SAT_SaveToConstraintFile_Button->hasFocus());
        QTest::keyClick(Kavelin_Form, Qt::Key_S, Qt::AltModifier);
        QVERIFY(sat->SAT_Solve_Button->hasFocus());
        QTest::keyClick(Kavelin_Form, Qt::Key_S, Qt::AltModifier);
        QVERIFY(sat->SAT_SaveToConstraintFile_Button->hasFocus());
        QVERIFY(fFixture->DialogsShown.empty());  // neither pressed

        // A mnemonic of its own presses its button.
        QTest::keyClick(Kavelin_Form, Qt::Key_O, Qt::AltModifier);
        QTRY_COMPARE(fFixture->DialogsShown.size(), size_t(1));

        // The restructurator's "&Quitter" has no work and is disabled, so it takes
        // no part in Alt+Q there.
        ShowPage(5);
        QVERIFY(!Kavelin_Form->DataRestructuratorPage->Button1->isEnabled());
        QVERIFY(Kavelin_Form->isVisible());
    }
};

QTEST_MAIN(DesktopKeysTest)
#include "Desktop_keys_test.moc"
