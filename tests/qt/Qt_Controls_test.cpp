// The Qt controls on their own: text at the Qt boundary, the memo's line list,
// the up-down attached to its edit, and the page control.
#include <QtTest>

#include "platform/Message_Box.h"
#include "qt/Qt_Controls.h"
#include "qt/Qt_Memo.h"
#include "qt/Qt_Page_Control.h"
#include "qt/Qt_Up_Down.h"
#include "qt/Text_Codec.h"
#include "support/Global_Guards.h"

class QtControlsTest : public QObject {
    Q_OBJECT
  private slots:
    void textCrossesTheBoundaryAsWindows1252() {
        QCOMPARE(ToQt("Propri\xE9t\xE9s \x80 \x9C"), QStringLiteral("Propriétés € œ"));
        QCOMPARE(FromQt(QStringLiteral("Propriétés € œ")),
                 std::string("Propri\xE9t\xE9s \x80 \x9C"));
        // What the code page lacks becomes one "?" per character, surrogate pairs included.
        QCOMPARE(FromQt(QStringLiteral("a\u03A9b\U0001F600c")), std::string("a?b?c"));
        QCOMPARE(FromQt(QString(QChar(0x1A)) + QChar(0x3A9)), std::string("\x1A?"));
        // Characters a reader may ignore are lost by the converter; they too show "?".
        QCOMPARE(FromQt(QStringLiteral("a\u061Cb\u200Bc\uFEFF")), std::string("a?b?c?"));
        // Each conversion starts afresh after one that met an error.
        QCOMPARE(FromQt(QStringLiteral("ok")), std::string("ok"));
        std::string all;
        for (int c = 1; c < 256; ++c) all += char(c);
        const std::string back = FromQt(ToQt(all));
        // The five bytes that Windows-1252 leaves undefined may not survive; all others do.
        for (int c = 1; c < 256; ++c)
            if (c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D)
                QCOMPARE(int(static_cast<unsigned char>(back[size_t(c - 1)])), c);
    }

    void theMemoCountsLinesAsALineList() {
        TMemo memo;
        QCOMPARE(memo.Count(), 0);
        memo.Add("");
        QCOMPARE(memo.Count(), 1);
        QCOMPARE(memo.Get(0), std::string());
        memo.Add("b");
        memo.Add("c\rd");
        QCOMPARE(memo.QtLines(), (QStringList{"", "b", "c", "d"}));
        memo.Delete(3);
        memo.Delete(0);
        QCOMPARE(memo.QtLines(), (QStringList{"b", "c"}));
        memo.DeleteFirst(1);
        QCOMPARE(memo.QtLines(), QStringList{"c"});
        memo.Delete(0);
        QCOMPARE(memo.Count(), 0);
        memo.Assign({"x", "y"});
        memo.DeleteFirst(5);
        QCOMPARE(memo.Count(), 0);
        // What the user types counts too.
        memo.setPlainText(QStringLiteral("typed\nlines"));
        QCOMPARE(memo.Count(), 2);
        memo.setPlainText(QString());
        QCOMPARE(memo.Count(), 0);
    }

    void theMemoAssignsAndReadsAllItsLinesAtOnce() {
        TMemo memo;
        memo.Assign({""});
        QCOMPARE(memo.ToVector(), std::vector<std::string>{""});
        memo.Assign({});
        QCOMPARE(memo.Count(), 0);
        QVERIFY(memo.ToVector().empty());
        // Breaks of any convention within a line; blank lines; a no-break space
        // and the other characters of the code page kept as they are.
        memo.Assign({"a\r\nb", "c\rd\ne", "", "\xE9t\xE9\xA0\x80", "\r", "z"});
        const std::vector<std::string> expected{"a", "b", "c", "d", "e", "", "\xE9t\xE9\xA0\x80",
                                                "",  "",  "z"};
        QCOMPARE(memo.ToVector(), expected);
        for (int i = 0; i < memo.Count(); ++i) QCOMPARE(memo.Get(i), expected[size_t(i)]);
        // A new text shows from its top, with nothing to undo.
        memo.resize(169, 361);
        memo.Assign(std::vector<std::string>(1000, "line"));
        memo.verticalScrollBar()->setValue(memo.verticalScrollBar()->maximum());
        memo.Assign(std::vector<std::string>(1000, "other"));
        QCOMPARE(memo.verticalScrollBar()->value(), 0);
        QCOMPARE(memo.textCursor().position(), 0);
        QVERIFY(!memo.document()->isModified());
        QVERIFY(!memo.document()->isUndoAvailable());
    }

    void theUpDownShowsItsPositionInItsEdit() {
        QWidget parent;
        QLineEdit edit(&parent);
        TUpDown upDown(&parent, &edit, 0, 100, 80);
        QCOMPARE(edit.text(), QStringLiteral("80"));
        upDown.StepUp();
        QCOMPARE(int(upDown.Position()), 81);
        edit.setText(QStringLiteral("100"));
        upDown.StepUp();
        QCOMPARE(int(upDown.Position()), 100);  // no wrapping
        edit.setText(QStringLiteral("0"));
        upDown.StepDown();
        QCOMPARE(edit.text(), QStringLiteral("0"));
        // A text that is no number gives way to the last position, shown again.
        edit.setText(QStringLiteral("abc"));
        QCOMPARE(int(upDown.Position()), 0);
        QCOMPARE(edit.text(), QStringLiteral("0"));
        QTest::mouseClick(upDown.findChild<QToolButton*>(QStringLiteral("up")), Qt::LeftButton);
        QCOMPARE(edit.text(), QStringLiteral("1"));
        // A number beyond the range is clamped into it, and the edit shows what is used.
        for (const auto& [typed, used] : {std::pair{"150", 100},
                                          {" 42 ", 42},
                                          {"-5", 0},
                                          {"99999999999999999999999", 100},
                                          {"4x", 100}}) {
            edit.setText(QString::fromLatin1(typed));
            QCOMPARE(int(upDown.Position()), used);
            QCOMPARE(edit.text(), QString::number(used));
        }
        edit.setText(QStringLiteral("-123456789012345678901"));
        upDown.StepUp();
        QCOMPARE(edit.text(), QStringLiteral("1"));
        // The arrow keys in the edit step it too.
        QTest::keyClick(&edit, Qt::Key_Up);
        QTest::keyClick(&edit, Qt::Key_Up);
        QTest::keyClick(&edit, Qt::Key_Down);
        QCOMPARE(edit.text(), QStringLiteral("2"));

        // Leaving the edit takes its text as the position; the arrows are no Tab stops.
        QLineEdit next(&parent);
        parent.show();
        QVERIFY(QTest::qWaitForWindowActive(&parent));
        edit.setFocus();
        edit.setText(QStringLiteral("250"));
        QTest::keyClick(&edit, Qt::Key_Tab);
        QVERIFY(next.hasFocus());
        QCOMPARE(edit.text(), QStringLiteral("100"));
        edit.setFocus();
        edit.setText(QStringLiteral("x"));
        next.setFocus();
        QCOMPARE(edit.text(), QStringLiteral("100"));
        for (auto* arrow : upDown.findChildren<QToolButton*>())
            QCOMPARE(arrow->focusPolicy(), Qt::NoFocus);
    }

    void tabLeavesAMemoAndAnAddedLineScrollsIntoView() {
        QWidget parent;
        QLineEdit before(&parent);
        TMemo memo(&parent);
        memo.setGeometry(0, 30, 120, 80);
        QLineEdit after(&parent);
        parent.show();
        QVERIFY(QTest::qWaitForWindowActive(&parent));
        memo.setFocus();
        QTest::keyClick(&memo, Qt::Key_Tab);
        QVERIFY(after.hasFocus());
        memo.setFocus();
        QTest::keyClick(&memo, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(before.hasFocus());
        memo.setReadOnly(true);
        memo.setFocus();
        QTest::keyClick(&memo, Qt::Key_Tab);
        QVERIFY(after.hasFocus());
        QCOMPARE(memo.Count(), 0);  // no tab typed

        for (int i = 0; i < 40; ++i) memo.Add("line " + std::to_string(i));
        QVERIFY(memo.verticalScrollBar()->value() > 0);
        const QPoint bottomLeft(2, memo.viewport()->height() - 6);
        QCOMPARE(memo.cursorForPosition(bottomLeft).block().text(), QStringLiteral("line 39"));
    }

    void returnAndSpacePressAFocusedButton() {
        QWidget parent;
        QPushButton* button = MakeButton(&parent, "B", QStringLiteral("&Go"), QRect(0, 0, 60, 25));
        parent.show();
        QVERIFY(QTest::qWaitForWindowActive(&parent));
        button->setFocus();
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);  // no plain Return
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(clicked.count(), 3);
    }

    // A handler that runs out of memory ends with a box that says so and names
    // the button; an error of its own shows its message; the next click runs.
    void aClickHandlerThatRunsOutOfMemorySaysSo() {
        struct TBoxes : IMessageBox {
            void Show(const std::string& text) override { fTexts.push_back(text); }
            std::vector<std::string> fTexts;
        } boxes;
        const TMessageBoxGuard boxGuard(&boxes);
        QWidget parent;
        QPushButton* button =
            MakeButton(&parent, "B", QStringLiteral("&Solve"), QRect(0, 0, 60, 25));
        int clicks = 0;
        ConnectClick(button, [&] {
            if (++clicks == 1) throw std::bad_alloc();
            throw std::runtime_error("its own message");
        });
        button->click();
        button->click();
        QCOMPARE(boxes.fTexts,
                 (std::vector<std::string>{
                     "Out of memory while handling the button \"Solve\"; it was stopped.",
                     "its own message"}));
    }

    void thePageControlWrapsItsTabsAndSwitchesPages() {
        TPageControl pages(nullptr);
        pages.resize(300, 200);
        QStringList captions{"One page", "Another page", "A third page", "Four"};
        for (int i = 0; i < captions.size(); ++i) {
            auto* page = new QWidget;
            page->setObjectName(QStringLiteral("P%1").arg(i));
            pages.AddPage(page, captions[i]);
        }
        pages.show();
        QCOMPARE(pages.CurrentIndex(), 0);
        auto* first = pages.findChild<QToolButton*>(QStringLiteral("P0_Tab"));
        auto* last = pages.findChild<QToolButton*>(QStringLiteral("P3_Tab"));
        QVERIFY(first && last);
        QVERIFY(last->y() > first->y());  // on a second row
        QSignalSpy changed(&pages, &TPageControl::CurrentChanged);
        QTest::mouseClick(last, Qt::LeftButton);
        QCOMPARE(pages.CurrentIndex(), 3);
        QCOMPARE(pages.CurrentPage()->objectName(), QStringLiteral("P3"));
        QCOMPARE(changed.count(), 1);
        QVERIFY(pages.CurrentPage()->mapTo(&pages, QPoint(0, 0)).y() > last->geometry().bottom());

        // Ctrl+Tab and Ctrl+Shift+Tab (which X11 delivers as Backtab) step both ways, wrapping.
        QVERIFY(QTest::qWaitForWindowActive(&pages));
        QTest::keyClick(&pages, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages.CurrentIndex(), 0);
        QTest::keyClick(&pages, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages.CurrentIndex(), 3);
        QTest::keyClick(&pages, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages.CurrentIndex(), 2);
    }
};

QTEST_MAIN(QtControlsTest)
#include "Qt_Controls_test.moc"
