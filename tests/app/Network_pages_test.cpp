// The "Neuronal  Network", "Data Restructurator" and "Segmentation hypercube"
// pages on the real controls: the brain drawn at start-up and rebuilt over the
// old one, the picture's mouse events reaching the brain, words marked by clicks
// at caret positions of the real rich edit, lines of a known shape skipped, the
// placeholder analysis, and the general parameters reader.
#include <QtTest>
#include <filesystem>

#include "analysis/Brain_Fixtures.h"
#include "analysis/Data_Restructurator_Unit.h"
#include "app/Trace_Form.h"
#include "base/File_Io.h"
#include "support/Window_Fixture.h"

using namespace brain_fixtures;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> TraceLines() {
    return TraceForm->RichEdit1->ToVector();
}

TColor ColourOf(QRgb rgb) {
    return TColor(qRed(rgb)) | TColor(qGreen(rgb)) << 8 | TColor(qBlue(rgb)) << 16;
}

bool Listed(const TProcess* process) {
    const auto& processes = ProcessManager->Processes();
    return std::find(processes.begin(), processes.end(), process) != processes.end();
}

const std::string kNoWord = "*ERROR*Erreur : Data_Restructuration_Unit : TTextManager.";

}  // namespace

class NetworkPagesTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;
    fs::path fHome;
    fs::path fDir;

    TDataRestructuratorPage* Page() { return Kavelin_Form->DataRestructuratorPage; }
    TRichEdit* Display() { return Page()->DataRestructurator_RichEdit; }

    // Runs in a folder of its own whose data file holds `bytes`.
    void UseDataFile(const std::string& bytes) {
        fs::create_directories(fDir / "Data/DataRestructurator/TestData");
        WriteFileAtomically((fDir / "Data/DataRestructurator/TestData/aaa.txt").string(), bytes);
        fs::current_path(fDir);
    }

    // A click of the left button in the rich edit where caret position `pos` lies;
    // true when the engine read the caret there (it reports it in the trace).
    bool ClickAtCaret(int pos) {
        QTextCursor cursor(Display()->document());
        cursor.setPosition(pos);
        QTest::mouseClick(Display()->viewport(), Qt::LeftButton, {},
                          Display()->cursorRect(cursor).center());
        const std::vector<std::string> trace = TraceLines();
        const auto last =
            std::find(trace.rbegin(), trace.rend(), "Mouse Down - Cursor Position : ");
        return last != trace.rend() && last != trace.rbegin() && *(last - 1) == std::to_string(pos);
    }

    // The page shows, with its display bound and the data file loaded.
    void InitAndLoad() {
        Kavelin_Form->PageControl1->SetCurrentIndex(5);
        QTest::mouseClick(Page()->DataRestructurator_Init_Button, Qt::LeftButton);
        QTest::mouseClick(Page()->Button2, Qt::LeftButton);
    }

    void AddData() { QTest::mouseClick(Page()->DataRestructurator_AddData_Button, Qt::LeftButton); }

  private slots:
    void init() {
        fFixture = new TWindowFixture;
        fHome = fs::current_path();
        fDir = fs::temp_directory_path() /
               ("kavelin_network_" + std::to_string(QCoreApplication::applicationPid()));
        fs::remove_all(fDir);
        fs::create_directories(fDir);
    }
    void cleanup() {
        fs::current_path(fHome);
        delete fFixture;
        fFixture = nullptr;
        fs::remove_all(fDir);
    }

    void theNetworkIsDrawnAtStartUpWhereTheProjectionPutsIt() {
        TPictureControl* picture = Kavelin_Form->NeuronalNetworkPage->Neuronal_Network_Image;
        QVERIFY(Brain != nullptr);
        QCOMPARE(Brain->fPicture, static_cast<IPicture*>(picture));
        const QImage shown = picture->grab().toImage();
        const std::vector<TPoint> centres = IsolatedBoxCentres(*Brain, 457, 393);
        QVERIFY(centres.size() >= 10);
        for (const TPoint c : centres) {
            const std::string mismatch =
                BoxMismatch([&](int32_t x, int32_t y) { return ColourOf(shown.pixel(x, y)); }, c);
            QVERIFY2(mismatch.empty(), mismatch.c_str());
        }
    }

    void thePicturesMouseEventsReachTheBrain() {
        TPictureControl* picture = Kavelin_Form->NeuronalNetworkPage->Neuronal_Network_Image;
        QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(20, 30));
        QTest::mouseMove(picture, QPoint(40, 50));
        QCOMPARE(TraceLines(),
                 (std::vector<std::string>{"on mouse down", "clic", "mouse up", "on mouse move"}));
    }

    void eachNeuronalNetwork2BuildsANewBrainOverTheOld() {
        TNeuronalNetworkPage* page = Kavelin_Form->NeuronalNetworkPage;
        TBrain* first = Brain;
        const TBitmap before = page->Neuronal_Network_Image->Bitmap();
        QTest::mouseClick(page->NeuronalNetwork2_Button, Qt::LeftButton);
        QVERIFY(Brain != first);
        QCOMPARE(Brain->fConceptZones[0]->fNeurons[0]->Id, int64_t(1));
        QVERIFY(Listed(first->fMotorZones[1]->fNeurons.back().get()));
        QVERIFY(Listed(Brain->fMotorZones[1]->fNeurons.back().get()));
        QCOMPARE(ProcessCounter, int64_t(8000));

        // The picture is not cleared: the old boxes stay wherever no new box lies.
        std::vector<bool> covered(size_t(457 * 393), false);
        for (const TBrainZone* zone : Brain->ZonesInDrawingOrder())
            for (const auto& neuron : zone->fNeurons) {
                const TPoint p = TBrain::NeuronPixel(*neuron);
                for (int y = p.Y - 2; y <= p.Y + 2; ++y)
                    for (int x = p.X - 2; x <= p.X + 2; ++x)
                        if (x >= 0 && y >= 0 && x < 457 && y < 393)
                            covered[size_t(y * 457 + x)] = true;
            }
        int kept = 0;
        const TBitmap& after = page->Neuronal_Network_Image->Bitmap();
        for (int y = 0; y < 393; ++y)
            for (int x = 0; x < 457; ++x)
                if (before.Pixel(x, y) == clBlack && !covered[size_t(y * 457 + x)]) {
                    QCOMPARE(after.Pixel(x, y), clBlack);
                    ++kept;
                }
        QVERIFY(kept > 0);
    }

    void twoClicksLeaveOnePairOfMarkers() {
        UseDataFile("Prix: 12,50 \x80\r\n");
        InitAndLoad();
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Prix: 12,50 €")});

        QVERIFY(ClickAtCaret(2));
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("<Prix>: 12,50 €")});
        QCOMPARE(TraceLines(), (std::vector<std::string>{"Mouse Down - Cursor Position : ", "2"}));
        // After the "1" of the marked text: the markers move to "12".
        QVERIFY(ClickAtCaret(9));
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Prix: <12>,50 €")});
        // After the last character: the one-character word at the end.
        QVERIFY(ClickAtCaret(15));
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Prix: 12,50 <€>")});
        QVERIFY(fFixture->Boxes.fTexts.empty());

        // At the very start of the line no word is left of the caret: the text is
        // left unmarked, and "Add Data" then finds nothing and stays on the line.
        QVERIFY(ClickAtCaret(0));
        QCOMPARE(
            fFixture->Boxes.fTexts,
            std::vector<std::string>{kNoWord + "GetWordAtPosition Cursor Pos 0 : Mot non reconnu"});
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Prix: 12,50 €")});
        QVERIFY(!TextManager->fMarked);
        AddData();
        QCOMPARE(fFixture->Boxes.fTexts.back(),
                 kNoWord + "GetTWordAtPosition Cursor Pos 0 : Mot non reconnu");
        QCOMPARE(RestManager->fRestLines.size(), size_t(0));
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Prix: 12,50 €")});
    }

    // Qt gives the second press of a double click as a double-click event only: it
    // marks a word as any press does, and one pair of markers stays.
    void theSecondPressOfADoubleClickMarksToo() {
        UseDataFile("Prix: 12,50 \x80\r\n");
        InitAndLoad();
        QTextCursor cursor(Display()->document());
        cursor.setPosition(9);
        const QPoint at = Display()->cursorRect(cursor).center();
        QTest::mouseClick(Display()->viewport(), Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, at, Display()->viewport()->mapToGlobal(at),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Display()->viewport(), &second);
        const std::vector<std::string> trace = TraceLines();
        QCOMPARE(std::count(trace.begin(), trace.end(), "Mouse Down - Cursor Position : "), 2L);
        const QString line = Display()->QtLines().value(0);
        QCOMPARE(line.count(QLatin1Char('<')), 1);
        QCOMPARE(line.count(QLatin1Char('>')), 1);
    }

    void linesOfAKnownShapeAreSkippedButNotTheLast() {
        UseDataFile(
            "Prix: 12,50 \x80\r\nTaxe: 3,20 \x80\r\nTotal: 7,10 $\r\nPort: 4,90 \x80\r\n"
            "Net: 9,99 \x80\r\n");
        InitAndLoad();
        Page()->DataRestructurator_Edit->setText(QStringLiteral("ignored"));
        QVERIFY(ClickAtCaret(8));  // after "12"
        AddData();
        QCOMPARE(RestManager->fRestLines.size(), size_t(1));
        QCOMPARE(RestManager->fRestLines[0]->fWordIndices[1], 3);
        QVERIFY(Page()->DataRestructurator_Edit->text().isEmpty());
        // "Taxe" has the shape just recorded; "Total" ends in a word of letters.
        QCOMPARE(CurrentLine, 2);
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Total: 7,10 $")});

        QVERIFY(ClickAtCaret(3));
        AddData();
        // "Port" matches the first rest line; the last line is shown all the same.
        QCOMPARE(CurrentLine, 4);
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Net: 9,99 €")});
        QVERIFY(ClickAtCaret(2));
        AddData();
        QCOMPARE(CurrentLine, 4);
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("Net: 9,99 €")});
        QCOMPARE(RestManager->fRestLines.size(), size_t(3));
        QVERIFY(fFixture->Boxes.fTexts.empty());
    }

    void aRestLineHoldsAtMost101Positions() {
        UseDataFile("a1\r\n");
        InitAndLoad();
        QVERIFY(ClickAtCaret(2));
        for (int i = 0; i < 101; ++i) QVERIFY(DataRestructurator->AddData(""));
        QVERIFY(fFixture->Boxes.fTexts.empty());
        QVERIFY(!DataRestructurator->AddData(""));
        QCOMPARE(fFixture->Boxes.fTexts,
                 std::vector<std::string>{"*ERROR*Erreur : Data_Restructuration_Unit : "
                                          "TDataRestructurator.AddData : Ligne restructur\xE9"
                                          "e pleine (101 mots)"});
        QCOMPARE(CurrentRestLine->fCount, 101);
        QCOMPARE(CurrentRestLine->fWordIndices[101], 1);
        DataRestructurator->NextLine();
        QCOMPARE(RestManager->fRestLines.size(), size_t(1));
        QVERIFY(CurrentRestLine == nullptr);
    }

    void aFileWithoutLinesShowsEndAndAnUnreadableOneKeepsTheDisplay() {
        UseDataFile("");
        InitAndLoad();
        QCOMPARE(Display()->Count(), 0);
        DataRestructurator->NextLine();
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("END")});

        fs::remove(fDir / "Data/DataRestructurator/TestData/aaa.txt");
        QTest::mouseClick(Page()->Button2, Qt::LeftButton);
        QCOMPARE(fFixture->Boxes.fTexts.size(), size_t(1));
        QVERIFY(fFixture->Boxes.fTexts[0].find("aaa.txt") != std::string::npos);
        QCOMPARE(Display()->QtLines(), QStringList{QStringLiteral("END")});
    }

    void theShippedDataFileSkipsLinesOnTheWayToItsEnd() {
        InitAndLoad();
        const int count = SourceLines->Count();
        QVERIFY(count >= 30);
        int shown = 1;
        for (; CurrentLine < count - 1 && shown < count; ++shown) {
            QVERIFY(ClickAtCaret(1));  // the first word
            AddData();
        }
        QCOMPARE(CurrentLine, count - 1);
        QVERIFY(shown < count - 10);
        QVERIFY(fFixture->Boxes.fTexts.empty());
    }

    void eachAnalyseAddsOneTraceLineAndOneNotice() {
        TSegmentationPage* page = Kavelin_Form->SegmentationPage;
        const QString notice = QStringLiteral("ben.. euh.. pas encore implémenté :-) ^^ ");
        QTest::mouseClick(page->Segmentation_analyse_Button, Qt::LeftButton);
        page->Segmentation_Memo->Assign({"Age;Taille", "25;172"});
        QTest::mouseClick(page->Segmentation_analyse_Button, Qt::LeftButton);
        QCOMPARE(TraceLines(),
                 (std::vector<std::string>{"DisplayHyperCubes();", "DisplayHyperCubes();"}));
        QCOMPARE(page->Segmentation_Analyse_Memo->QtLines(), (QStringList{notice, notice}));
        QCOMPARE(page->Segmentation_Memo->Count(), 2);
    }

    void theGeneralParametersReaderTracesTheNeuronNumber() {
        Kavelin_Form->IniFileReader_ButtonClick();
        Kavelin_Form->IniFileReader_ButtonClick();
        QCOMPARE(TraceLines(), (std::vector<std::string>{"8000", "8000"}));
        QVERIFY(IniManager != nullptr);
    }
};

QTEST_MAIN(NetworkPagesTest)
#include "Network_pages_test.moc"
