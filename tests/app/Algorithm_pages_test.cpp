// The "Text Distance" and "Algo Genetique" pages: typed texts in, memo lines out;
// a long text distance shown as it runs and ended by Escape.
#include <QtTest>

#include <random>

#include "app/Trace_Form.h"
#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "qt/Qt_Status_Bar.h"
#include "support/Escape_When_Shown.h"
#include "support/Global_Guards.h"
#include "support/Window_Fixture.h"

namespace {

// Random text over four letters: each pair of texts of this kind takes the
// text distance a long while.
QString FourLetterText(int length, unsigned seed) {
    std::mt19937 draw(seed);
    QString text(length, QChar('a'));
    for (QChar& c : text) c = QChar("acgt"[draw() % 4]);
    return text;
}

}  // namespace

class AlgorithmPagesTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;

  private slots:
    void init() { fFixture = new TWindowFixture; }
    void cleanup() {
        delete fFixture;
        SetDecimalSeparator('.');
    }

    void textDistanceAppendsBothTextsAndTheScore() {
        TTextDistancePage* page = Kavelin_Form->TextDistancePage;
        SetDecimalSeparator(',');
        QTest::keyClicks(page->TextDistance_Edit1, QStringLiteral("chat"));
        QTest::keyClicks(page->TextDistance_Edit2, QStringLiteral("chien"));
        QTest::mouseClick(page->TextDistance_Button, Qt::LeftButton);
        page->TextDistance_Edit1->clear();
        page->TextDistance_Edit2->clear();
        QTest::mouseClick(page->TextDistance_Button, Qt::LeftButton);
        // Accented letters travel as Windows-1252 bytes and come back as typed.
        page->TextDistance_Edit1->setText(QStringLiteral("été"));
        page->TextDistance_Edit2->setText(QStringLiteral("été"));
        QTest::mouseClick(page->TextDistance_Button, Qt::LeftButton);
        QCOMPARE(page->Text_Distance_Memo->QtLines(),
                 (QStringList{"chat - chien : 44,4444444444444", " -  : 100", "été - été : 100"}));
        QVERIFY(fFixture->Boxes.fTexts.empty());
    }

    // Escape, once the status bar shows the run, ends it: the page adds no line,
    // the trace ends with the engine's line and the status bar says it stopped.
    void aLongTextDistanceEndsAtEscapeWithNothingAdded() {
        TTextDistancePage* page = Kavelin_Form->TextDistancePage;
        page->TextDistance_Edit1->setText(FourLetterText(40000, 1));
        page->TextDistance_Edit2->setText(FourLetterText(40000, 2));
        TEscapeWhenShown escape(page->TextDistance_Edit1);
        QTest::mouseClick(page->TextDistance_Button, Qt::LeftButton);
        QCOMPARE(escape.Shown, QStringLiteral("Text distance is running: Esc or Stop ends it"));
        QVERIFY(page->Text_Distance_Memo->QtLines().isEmpty());
        QCOMPARE(TraceForm->RichEdit1->ToVector().back(), std::string("Text distance interrupted"));
        QCOMPARE(ProgramStatus::Bar()->Text(), QStringLiteral("Text distance stopped"));
        QVERIFY(!QApplication::overrideCursor());
        // The page is usable again at once.
        page->TextDistance_Edit1->setText(QStringLiteral("chat"));
        page->TextDistance_Edit2->setText(QStringLiteral("chat"));
        QTest::mouseClick(page->TextDistance_Button, Qt::LeftButton);
        QCOMPARE(page->Text_Distance_Memo->QtLines(), QStringList{"chat - chat : 100"});
    }

    void geneticAlgorithmAppendsTheOptimum() {
        TGeneticPage* page = Kavelin_Form->GeneticPage;
        {
            const TSeedGuard seed(7);
            QTest::mouseClick(page->GeneticAlgorithm_Button, Qt::LeftButton);
        }
        const QStringList lines = page->GeneticSolver_Memo->QtLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].startsWith(QStringLiteral("Optimum : ")));
        bool ok = false;
        const double value = lines[0].mid(10).toDouble(&ok);
        QVERIFY(ok);
        QVERIFY(std::abs(value - std::sqrt(2.0)) < 0.01);
    }
};

QTEST_MAIN(AlgorithmPagesTest)
#include "Algorithm_pages_test.moc"
