// The "Text Distance" and "Algo Genetique" pages: typed texts in, memo lines out.
#include <QtTest>

#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "support/Global_Guards.h"
#include "support/Window_Fixture.h"

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
