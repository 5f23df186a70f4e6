// The Qt message box on its own: its text is shown as typed, markup included,
// and Escape is told from OK.
#include <QtTest>

#include "qt/Qt_Message_Box.h"
#include "qt/Text_Codec.h"

namespace {

// Runs `answer` on the box once it shows, then leaves it with `key`.
void WhenTheBoxShows(std::function<void(QMessageBox&)> answer, Qt::Key key) {
    QTimer::singleShot(0, [answer = std::move(answer), key] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        answer(*box);
        QTest::keyClick(box, key);
    });
}

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT
  private slots:
    void theBoxShowsItsTextAsPlainText() {
        TQtMessageBox qtBox;
        const std::string text = "Clause Number=<b>x</b> & <i>y</i>\n\xE9t\xE9";
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        WhenTheBoxShows(
            [&](QMessageBox& box) {
                // The label that holds the text: the one whose text is the box's.
                for (auto* label : box.findChildren<QLabel*>())
                    if (label->text() == box.text()) {
                        shown = label->text();
                        format = label->textFormat();
                    }
            },
            Qt::Key_Return);
        QVERIFY(qtBox.ShowAndAsk(text));
        QCOMPARE(shown, ToQt(text));
        QCOMPARE(format, Qt::PlainText);
    }

    void escapeDismissesTheBoxAndReturnAnswersIt() {
        TQtMessageBox qtBox;
        WhenTheBoxShows([](QMessageBox&) {}, Qt::Key_Escape);
        QVERIFY(!qtBox.ShowAndAsk("Dismissed"));
        WhenTheBoxShows([](QMessageBox&) {}, Qt::Key_Return);
        QVERIFY(qtBox.ShowAndAsk("Answered"));
    }

    // The question about typed work: Return saves, Escape and the close box
    // cancel, Discard must be pressed.
    void theQuestionToSaveTellsItsThreeAnswersApart() {
        TQtMessageBox qtBox;
        WhenTheBoxShows([](QMessageBox&) {}, Qt::Key_Return);
        QCOMPARE(qtBox.AskToSave("Save?"), TSaveChoice::Save);
        WhenTheBoxShows([](QMessageBox&) {}, Qt::Key_Escape);
        QCOMPARE(qtBox.AskToSave("Save?"), TSaveChoice::Cancel);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(qtBox.AskToSave("Save?"), TSaveChoice::Cancel);
        // The letters of Save and Discard answer with Alt.
        for (const auto& [letter, answer] : {std::pair{Qt::Key_D, TSaveChoice::Discard},
                                             std::pair{Qt::Key_S, TSaveChoice::Save}}) {
            QTimer::singleShot(0, [letter] {
                QWidget* box = QApplication::activeModalWidget();
                QApplication::setActiveWindow(box);
                QTest::keyClick(box, letter, Qt::AltModifier);
                // A letter that answers nothing leaves the box: closing it fails
                // the comparison below rather than waiting for ever.
                QTimer::singleShot(1000, box, [box] { box->close(); });
            });
            QCOMPARE(qtBox.AskToSave("Save?"), answer);
        }
        QString shown;
        QTimer::singleShot(0, [&shown] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->text();
            box->button(QMessageBox::Discard)->click();
        });
        QCOMPARE(qtBox.AskToSave("Save the <b>SAT</b> problem?"), TSaveChoice::Discard);
        QCOMPARE(shown, QStringLiteral("Save the <b>SAT</b> problem?"));
    }
};

QTEST_MAIN(MessageBoxTest)
#include "Message_Box_test.moc"
