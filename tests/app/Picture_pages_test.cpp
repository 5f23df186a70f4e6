// Pictures in the windows: Qt's readers of bitmaps (every common encoding), icons,
// PNG and GIF files against known pixels and ImageMagick's decoding, the refusal
// of damaged and mislabelled files, the picture control, the "Analyse
// Discriminante Picture" page on the shipped photograph and the "Transform
// Picture Points" page with its two dialogs.
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QtTest>
#include <filesystem>

#include "analysis/Transform_Picture_Fixtures.h"
#include "app/Chrono_Form.h"
#include "app/Trace_Form.h"
#include "base/Line_List.h"
#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "diagnostics/Chrono_Unit.h"
#include "qt/Qt_Status_Bar.h"
#include "support/Window_Fixture.h"

using namespace picture_fixtures;
namespace fs = std::filesystem;

namespace {

const std::string kPhoto = std::string(KAVELIN_TEST_DATA) + "/pictures/photo.jpg";

std::vector<std::string> TraceLines() {
    return TraceForm->RichEdit1->ToVector();
}

// The parts of the trace: every line of four numbers.
std::vector<TRect> PartLines() {
    std::vector<TRect> parts;
    for (const std::string& line : TraceLines()) {
        TRect r;
        if (std::sscanf(line.c_str(), "%d %d %d %d", &r.Left, &r.Top, &r.Right, &r.Bottom) == 4)
            parts.push_back(r);
    }
    return parts;
}

QString Q(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

class PicturePagesTest : public QObject {
    Q_OBJECT
    TWindowFixture* fFixture = nullptr;

  private slots:
    void init() {
        fFixture = new TWindowFixture;
        SetFixedSeed(std::nullopt);
    }
    void cleanup() {
        delete fFixture;
        fFixture = nullptr;
        SetFixedSeed(std::nullopt);
    }

    void everyBitmapEncodingDecodesToItsPixels() {
        using E = TBmpEncoding;
        const struct {
            E fEncoding;
            int fColours;
            const char* fName;
        } cases[] = {
            {E::Mono1, 2, "mono1"},
            {E::Palette4, 16, "palette4"},
            {E::Palette8, 16, "palette8"},
            {E::Rle4, 16, "rle4"},
            {E::Rle8, 16, "rle8"},
            {E::Rgb555, 8, "rgb555"},
            {E::Bitfields565, 8, "bf565"},
            {E::Rgb24, 16, "rgb24"},
            {E::Rgb24TopDown, 16, "topdown"},
            {E::Rgb32, 16, "rgb32"},
            {E::Argb32V5, 16, "argb32v5"},
            {E::Rgb24V4, 16, "v4"},
            {E::Os2Rgb24, 16, "os2rgb24"},
            {E::Os2Palette8, 16, "os2pal8"},
        };
        for (const auto& c : cases) {
            const TBitmap pattern = TestPattern(c.fColours);
            const std::string path =
                WriteTemp(std::string(c.fName) + ".bmp", EncodeBmp(pattern, c.fEncoding));
            TBitmap expected = pattern;
            // The one pixel of opacity 0 is blended over white.
            if (c.fEncoding == E::Argb32V5) expected.SetPixel(0, 0, clWhite);
            TBitmap got;
            try {
                got = ReadPictureFile(path);
            } catch (const EFileError& e) {
                QFAIL(e.what());
            }
            QVERIFY2(got.SamePixels(expected), c.fName);
        }
        // Headers of the sizes that other writers use.
        const TBitmap pattern = TestPattern(8);
        for (const auto& [encoding, size] :
             std::vector<std::pair<E, uint32_t>>{{E::Palette8, 16},
                                                 {E::Palette8, 52},
                                                 {E::Palette8, 56},
                                                 {E::Palette8, 64},
                                                 {E::Bitfields565, 52},
                                                 {E::Bitfields565, 56}}) {
            const std::string name = "header" + std::to_string(size) + ".bmp";
            const std::string path =
                WriteTemp(name, WithHeaderSize(EncodeBmp(pattern, encoding), size));
            TBitmap got;
            try {
                got = ReadPictureFile(path);
            } catch (const EFileError& e) {
                QFAIL(e.what());
            }
            QVERIFY2(got.SamePixels(pattern), name.c_str());
        }
    }

    void filesOfOtherWritersMatchAnIndependentDecoder() {
        const std::string source = TempDir() + "/source.png";
        Shell("convert '" + kPhoto + "' -resize 61x71! '" + source + "'");
        const struct {
            const char* fName;
            const char* fOptions;
        } cases[] = {
            {"im_mono.bmp", "-type Palette -colors 2 BMP3:"},
            {"im_pal4.bmp", "-type Palette -colors 16 -compress None BMP3:"},
            {"im_pal8.bmp", "-type Palette -colors 200 -compress None BMP3:"},
            {"im_rle8.bmp", "-type Palette -colors 200 -compress RLE BMP3:"},
            {"im_rgb24.bmp", "-type TrueColor BMP3:"},
            {"im_v5.bmp", "-type TrueColor BMP:"},
            {"im_argb32.bmp", "-alpha set -channel A -evaluate set 60% +channel BMP:"},
            {"im_os2.bmp", "-type TrueColor BMP2:"},
            {"im_rgb565.bmp", "-define bmp:subtype=RGB565 BMP:"},
            {"im_rgb555.bmp", "-define bmp:subtype=RGB555 BMP:"},
            {"im_photo.png", ""},
            {"im_alpha.png", "-alpha set -channel A -evaluate set 50% +channel "},
            {"im_photo.gif", ""},
            {"im_photo.ico", "-resize 48x48! "},
        };
        for (const auto& c : cases) {
            const std::string path = TempDir() + "/" + c.fName;
            Shell("convert '" + source + "' " + c.fOptions + "'" + path + "'");
            TBitmap got;
            try {
                got = ReadPictureFile(path);
            } catch (const EFileError& e) {
                QFAIL(e.what());
            }
            const TPictureDifference d = Difference(got, MagickDecode(path));
            // Blending a translucent pixel over white may round one unit apart.
            QVERIFY2(d.fMax >= 0 && d.fMax <= 1,
                     (std::string(c.fName) + " differs by " + std::to_string(d.fMax)).c_str());
        }
    }

    void damagedAndMislabelledFilesAreRefused() {
        const std::string dir = TempDir();
        Shell("convert '" + kPhoto + "' -resize 40x47! '" + dir + "/good.png'");
        Shell("convert '" + kPhoto + "' -resize 40x47! '" + dir + "/good.gif'");
        Shell("convert '" + kPhoto + "' -resize 40x47! -type TrueColor BMP3:'" + dir +
              "/good.bmp'");
        Shell("convert '" + kPhoto + "' -resize 40x40! '" + dir + "/good.ico'");
        const std::string png = ReadFileBytes(dir + "/good.png");
        const std::string gif = ReadFileBytes(dir + "/good.gif");
        const std::string bmp = ReadFileBytes(dir + "/good.bmp");
        const std::string ico = ReadFileBytes(dir + "/good.ico");
        const std::vector<std::pair<std::string, std::string>> files = {
            {"cut.png", png.substr(0, png.size() / 2)},
            {"cut.gif", gif.substr(0, gif.size() / 2)},
            {"no_trailer.gif", gif.substr(0, gif.size() - 1)},
            {"cut.bmp", bmp.substr(0, bmp.size() - 10)},
            {"cut.ico", ico.substr(0, ico.size() / 2)},
            {"png_named.bmp", png},
            {"bmp_named.png", bmp},
            {"gif_named.ico", gif},
            {"png_named.gif", png},
            {"noise.png", std::string("\x89PNG\r\n\x1A\n") + std::string(200, '\x37')},
            {"empty.gif", ""},
            // 10-bit channels, which Qt would read as black.
            {"ten_bits.bmp",
             EncodeBmp(TestPattern(4), TBmpEncoding::Argb32V5)
                 .replace(54, 12,
                          std::string("\x00\x00\xF0\x3F\x00\xFC\x0F\x00\xFF\x03\x00\x00", 12))},
        };
        for (const auto& [name, bytes] : files) {
            const std::string path = WriteTemp(name, bytes);
            const std::string message = ReadError(path);
            QVERIFY2(message.find("Cannot read the picture \"" + path + "\": ") == 0,
                     (name + " gave: " + message).c_str());
        }
        QVERIFY(ReadError(dir + "/good.ico").empty());
        // Bytes after the GIF trailer, as some writers pad their files, are harmless.
        QVERIFY(ReadError(WriteTemp("padded.gif", gif + std::string(2, '\0'))).empty());
        QVERIFY(ReadError(dir + "/good.gif").empty());
    }

    void thePictureControlShowsItsBitmapOverItsBackground() {
        QWidget window;
        TPictureControl control(&window, QRect(0, 0, 30, 20));
        window.resize(40, 30);
        window.show();
        QCOMPARE(control.Width(), 30);
        QCOMPARE(control.Height(), 20);
        TBitmap small(10, 8);
        small.Fill(clRed);
        control.Bitmap() = small;
        control.Repaint();
        const QImage shown = control.grab().toImage();
        QCOMPARE(shown.pixelColor(5, 5), QColor(255, 0, 0));
        QCOMPARE(shown.pixelColor(20, 15), QColor(0xF0, 0xF0, 0xF0));

        std::vector<std::string> events;
        control.OnMouseDown = [&](TMouseButton, TShiftState s, int32_t x, int32_t y) {
            events.push_back("down " + std::to_string(x) + " " + std::to_string(y) +
                             ((s & ssShift) ? " shift" : ""));
        };
        control.OnClick = [&] { events.push_back("click"); };
        control.OnMouseUp = [&](TMouseButton, TShiftState, int32_t x, int32_t y) {
            events.push_back("up " + std::to_string(x) + " " + std::to_string(y));
        };
        QTest::mouseClick(&control, Qt::LeftButton, Qt::ShiftModifier, QPoint(7, 4));
        QCOMPARE(events, (std::vector<std::string>{"down 7 4 shift", "click", "up 7 4"}));
    }

    void theAnalysisOutlinesThePartsOfTheShippedPhotograph() {
        TAnalysePicturePage* page = Kavelin_Form->AnalysePicturePage;
        SetFixedSeed(7);
        page->AnalyseDiscriminante_Button->click();
        QVERIFY(fFixture->Boxes.fTexts.empty());
        const std::vector<std::string> lines = TraceLines();
        QVERIFY(!lines.empty());
        int covered = -1;
        QVERIFY(std::sscanf(lines[0].c_str(), "Covered : %d", &covered) == 1);
        QVERIFY(covered > 90);
        const std::vector<TRect> parts = PartLines();
        QCOMPARE(static_cast<int>(parts.size()), static_cast<int>(lines.size()) - 1);

        TBitmap& bitmap = page->Image1->Bitmap();
        QCOMPARE(bitmap.Width(), 489);
        QCOMPARE(bitmap.Height(), 497);
        const QImage shown = page->Image1->grab().toImage();
        for (const TRect& r : parts) {
            QVERIFY(r.Left >= 0 && r.Top >= 0 && r.Right <= 489 && r.Bottom <= 497);
            QVERIFY(r.Right - r.Left > 20 && r.Bottom - r.Top > 20);
            // The outline runs one pixel inside the part, and shows.
            QCOMPARE(bitmap.Pixel(r.Left + 1, r.Top + 1), clWhite);
            QCOMPARE(bitmap.Pixel(r.Right - 1, r.Bottom - 1), clWhite);
            QCOMPARE(shown.pixelColor(r.Left + 1, (r.Top + r.Bottom) / 2), QColor(Qt::white));
        }
    }

    void theAnalysisRunsWithTheSettingsItsEditsShow() {
        TAnalysePicturePage* page = Kavelin_Form->AnalysePicturePage;
        SetFixedSeed(7);
        page->AnalyseDiscriminante_Button->click();
        const std::vector<std::string> shipped = TraceLines();

        // Larger seeds and a lower coverage: other parts, none smaller than a seed.
        page->Edit1->setText(" 60");
        page->Edit2->setText("30");
        page->AnalyseDiscriminante_Button->click();
        QCOMPARE(page->Edit1->text(), QStringLiteral("60"));
        int covered = -1;
        QVERIFY(std::sscanf(TraceLines()[0].c_str(), "Covered : %d", &covered) == 1);
        QVERIFY(covered > 30);
        const std::vector<TRect> parts = PartLines();
        QVERIFY(!parts.empty());
        QVERIFY(TraceLines() != shipped);
        for (const TRect& r : parts) QVERIFY(r.Right - r.Left >= 60 && r.Bottom - r.Top >= 60);

        // A text that is no number gives way to the last setting; a number out of
        // range is clamped into it; both show as used, also once the edit is finished.
        page->Edit1->setText("5");
        page->Edit2->setText("many");
        page->Edit3->setText("99999999999999999999999");
        page->AnalyseDiscriminante_Button->click();
        QCOMPARE(page->Edit1->text(), QStringLiteral("10"));
        QCOMPARE(page->Edit2->text(), QStringLiteral("30"));
        QCOMPARE(page->Edit3->text(), QStringLiteral("100000"));
        page->Edit2->setText("-4");
        QTest::keyClick(page->Edit2, Qt::Key_Return);
        QCOMPARE(page->Edit2->text(), QStringLiteral("0"));
        QVERIFY(fFixture->Boxes.fTexts.empty());

        // The shipped settings give the shipped result again.
        page->Edit1->setText("20");
        page->Edit2->setText("90");
        page->Edit3->setText("90");
        page->AnalyseDiscriminante_Button->click();
        QCOMPARE(TraceLines(), shipped);
    }

    void theProfilingWindowShowsTheSectionsOfAnAnalysis() {
        TAnalysePicturePage* page = Kavelin_Form->AnalysePicturePage;
        const auto callsOf = [](const std::string& name) {
            for (const TSectionTimes& s : ChronoTable().Sections())
                if (s.fSection == name) return s.fCalls;
            return int64_t{0};
        };
        const int64_t cleaned = callsOf("Clean");
        const int64_t extended = callsOf("Extend Part");
        const int64_t analysed = callsOf("Analyse Image");
        SetFixedSeed(7);
        page->AnalyseDiscriminante_Button->click();
        QVERIFY(!ChronoForm->isVisible());
        const auto parts = static_cast<int64_t>(PartLines().size());
        QCOMPARE(callsOf("Analyse Image"), analysed + 1);
        QCOMPARE(callsOf("Clean") - cleaned, callsOf("Extend Part") - extended + parts);

        // F12 in the main window shows the figures of every section, in the order
        // of their first start.
        Kavelin_Form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Kavelin_Form));
        QTest::keyClick(Kavelin_Form->PageControl1, Qt::Key_F12);
        QVERIFY(ChronoForm->isVisible());
        const std::vector<TSectionTimes> sections = ChronoTable().Sections();
        const QStringList memo = ChronoForm->Chrono_Memo->QtLines();
        QCOMPARE(memo.size(), qsizetype(sections.size()));
        QBarSet* calls = ChronoForm->Series1->barSets().at(0);
        QBarSet* totals = ChronoForm->FuncByTime_Series->barSets().at(0);
        QCOMPARE(calls->count(), qsizetype(sections.size()));
        QCOMPARE(totals->count(), qsizetype(sections.size()));
        QCOMPARE(calls->color(), QColor(Qt::red));
        QVERIFY(ChronoForm->Series1->isLabelsVisible());
        const auto categories = [](QAbstractBarSeries* series) {
            for (QAbstractAxis* axis : series->attachedAxes())
                if (auto* c = qobject_cast<QBarCategoryAxis*>(axis)) return c->categories();
            return QStringList();
        };
        const QStringList numbers = categories(ChronoForm->Series1);
        const QStringList names = categories(ChronoForm->FuncByTime_Series);
        QStringList expected;
        for (const char* name :
             {"Analyse Image", "SufficientCover", "Create New Part", "Calculate Homogeneity",
              "Extend Part", "Clean", "Display Part List"})
            expected << QString::fromLatin1(name);
        QStringList listed;
        for (qsizetype i = 0; i < qsizetype(sections.size()); ++i) {
            const TSectionTimes& s = sections[size_t(i)];
            listed << QString::fromStdString(s.fSection);
            QVERIFY2(
                memo[i].startsWith(QString::fromStdString(s.fSection) + " : " +
                                   QString::number(s.fCalls) + " calls, total " +
                                   QString::fromStdString(FloatToStr(s.TotalMs())) + " ms, mean "),
                qPrintable(memo[i]));
            QCOMPARE(calls->at(i), qreal(s.fCalls));
            QCOMPARE(numbers[i], QString::number(i + 1));
            // The time chart lists the first section at the top, its last category.
            const qsizetype row = qsizetype(sections.size()) - 1 - i;
            QCOMPARE(totals->at(row), s.TotalMs());
            QCOMPARE(names[row], QString::number(i + 1) + " " + QString::fromStdString(s.fSection));
        }
        QCOMPARE(listed.mid(listed.indexOf(expected[0]), expected.size()), expected);

        // Shown, the window follows the next handler that times a section, without
        // F12: the text distance adds the section of its first call.
        QVERIFY(!listed.contains(QStringLiteral("distance")));
        Kavelin_Form->TextDistancePage->TextDistance_Button->click();
        const QStringList after = ChronoForm->Chrono_Memo->QtLines();
        QCOMPARE(after.size(), memo.size() + 1);
        QVERIFY2(after.last().startsWith("distance : 1 calls, total "), qPrintable(after.last()));
        QCOMPARE(calls->count(), after.size());
        QCOMPARE(calls->at(calls->count() - 1), qreal(1));
        // "&Quit" hides it; the main window stays.
        QTest::mouseClick(ChronoForm->Chrono_Quit_Button, Qt::LeftButton);
        QVERIFY(!ChronoForm->isVisible());
        QVERIFY(Kavelin_Form->isVisible());
    }

    void openingAnotherPictureAnalysesIt() {
        TAnalysePicturePage* page = Kavelin_Form->AnalysePicturePage;
        page->AnalyseDiscriminante_ouvrir_Image_Button->click();
        QCOMPARE(fFixture->DialogsShown, (std::vector<QString>{"OpenPictureDialog1"}));
        QVERIFY(TraceLines().empty());
        QCOMPARE(page->Image1->Bitmap().Width(), 489);

        const std::string path = TempDir() + "/uniform.png";
        Shell("convert -size 489x497 xc:'#336699' '" + path + "'");
        fFixture->NextFileName = Q(path);
        page->AnalyseDiscriminante_ouvrir_Image_Button->click();
        QVERIFY(fFixture->Boxes.fTexts.empty());
        // A uniform picture that fills the control: the first seed grows over all of it.
        QCOMPARE(TraceLines(), (std::vector<std::string>{"Covered : 100", "0 0 489 497"}));
        QCOMPARE(page->Image1->Bitmap().Pixel(1, 200), clWhite);
        QCOMPARE(page->Image1->Bitmap().Pixel(2, 200), RGBColour(0x33, 0x66, 0x99));

        fFixture->NextFileName = Q(TempDir() + "/missing.png");
        page->AnalyseDiscriminante_ouvrir_Image_Button->click();
        QCOMPARE(static_cast<int>(fFixture->Boxes.fTexts.size()), 1);
        QVERIFY(fFixture->Boxes.fTexts[0].find("missing.png") != std::string::npos);
    }

    void aCancelledTransformDialogEndsTheActionAndAFinishedOneSaysSo() {
        TTransformPicturePage* page = Kavelin_Form->TransformPicturePage;
        TBitmap picture(3, 2);
        picture.SetPixel(2, 0, clBlack);
        picture.SetPixel(0, 1, 0xFEFFFF);
        const std::string source = WriteTemp("points.bmp", EncodeBmp(picture, TBmpEncoding::Rgb24));
        const std::string destination = TempDir() + "/points.txt";
        // Each dialog answers in turn (nothing: cancelled); what each asked is kept.
        std::vector<std::optional<QString>> answers;
        std::vector<QString> asked;
        std::vector<QString> startedIn;
        SetFileDialogResponder([&](const TFileDialog& dialog) {
            asked.push_back(dialog.Name() + ": " + dialog.Title() + " | " +
                            dialog.Filter().section(";;", 0, 0));
            startedIn.push_back(dialog.StartFolder());
            std::optional<QString> answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });

        const QString status = ProgramStatus::Bar()->Text();
        // The picture dialog cancelled: no save dialog, no box.
        answers = {std::nullopt};
        page->TransformateurPicturePoints_Button->click();
        QCOMPARE(asked.size(), size_t(1));
        // The save dialog cancelled: no box, nothing written.
        answers = {Q(source), std::nullopt};
        page->TransformateurPicturePoints_Button->click();
        QCOMPARE(asked.size(), size_t(3));
        QVERIFY(fFixture->Boxes.fTexts.empty());
        QVERIFY(TraceLines().empty());
        QVERIFY(!fs::exists(destination));
        QCOMPARE(ProgramStatus::Bar()->Text(), status);

        answers = {Q(source), Q(destination)};
        page->TransformateurPicturePoints_Button->click();
        QCOMPARE(ReadFileBytes(destination), std::string("0 1\r\n2 0\r\n"));
        QCOMPARE(ProgramStatus::Bar()->Text(), "Wrote 2 points to " + Q(destination));
        QCOMPARE(asked[2],
                 QStringLiteral("SaveDialog1: Points file to write | Points files (*.txt)"));
        QCOMPARE(asked[3], asked[1]);
        QCOMPARE(asked[1],
                 QStringLiteral("OpenPictureDialog2: Picture to transform | All pictures "
                                "(*.bmp *.dib *.jpg *.jpeg *.jpe *.jfif *.ico *.png *.gif)"));
        QCOMPARE(startedIn[4], QStringLiteral("./Data/AnalyseDeDensite"));
        QVERIFY(fFixture->Boxes.fTexts.empty());

        // The shared save dialog is the SAT page's again, in its own folder: the
        // points file's folder is remembered for the points file only.
        const TFileDialog& save = Kavelin_Form->SaveDialog1;
        QCOMPARE(save.Title(), QStringLiteral("Constraint file to save"));
        QVERIFY(save.Filter().startsWith("Constraint files (*.txt *.ini)"));
        QCOMPARE(save.StartFolder(), QStringLiteral("./Data/SATSolver"));
        answers = {Q(source), std::nullopt};
        page->TransformateurPicturePoints_Button->click();
        QCOMPARE(QDir(startedIn.back()), QDir(Q(TempDir())));
    }

    void everyDialogSaysWhatItAsksForAndOffersAllFiles() {
        for (const TFileDialog* dialog :
             {&Kavelin_Form->OpenPictureDialog1, &Kavelin_Form->OpenDialog1,
              &Kavelin_Form->OpenPictureDialog2, &Kavelin_Form->SaveDialog1,
              &Kavelin_Form->OpenDialog2}) {
            QVERIFY2(!dialog->Title().isEmpty(), qPrintable(dialog->Name()));
            QVERIFY2(dialog->Filter().endsWith(";;All files (*)"), qPrintable(dialog->Name()));
        }
        QCOMPARE(Kavelin_Form->OpenDialog1.Filter(),
                 QStringLiteral("Constraint files (*.txt *.ini);;DIMACS (*.cnf);;All files (*)"));
    }

    void thePictureDialogsOfferExactlyTheFormatsRead() {
        for (const TFileDialog* dialog :
             {&Kavelin_Form->OpenPictureDialog1, &Kavelin_Form->OpenPictureDialog2}) {
            const QString filter = dialog->Filter();
            QRegularExpression pattern(QStringLiteral("\\*(\\.[A-Za-z0-9]+)"));
            QSet<QString> offered;
            for (const auto& match : pattern.globalMatch(filter)) offered.insert(match.captured(1));
            for (const QString& extension : offered)
                QVERIFY2(
                    PictureFormatOf(QStringLiteral("x%1").arg(extension).toStdString()).has_value(),
                    qPrintable(extension));
            for (const char* extension :
                 {".bmp", ".dib", ".jpg", ".jpeg", ".jpe", ".jfif", ".ico", ".png", ".gif"})
                QVERIFY2(offered.contains(QString::fromLatin1(extension)), extension);
        }
    }
};

QTEST_MAIN(PicturePagesTest)
#include "Picture_pages_test.moc"
