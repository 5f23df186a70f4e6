// The "Capture Son" page on a real PulseAudio daemon with a 440 Hz sine source:
// capture passes, playing to the null sink, the display on the real picture and
// the capture loop clicked on the real button.
#include <pulse/simple.h>

#include <QtTest>
#include <atomic>
#include <filesystem>
#include <thread>

#include "app/Trace_Form.h"
#include "base/File_Io.h"
#include "qt/Qt_Status_Bar.h"
#include "qt/Sound_Files.h"
#include "support/Global_Guards.h"
#include "support/Sound_Server_Fixture.h"
#include "support/Window_Fixture.h"

namespace fs = std::filesystem;

class CapturePageTest : public QObject {
    Q_OBJECT
    TSoundServerFixture* fServer = nullptr;
    TWindowFixture* fWindows = nullptr;
    fs::path fDir;
    std::string fRecord;

    TCaptureSonPage* Page() const { return Kavelin_Form->CaptureSonPage; }

    // The greatest distance from silence heard on the null sink's monitor after
    // `play` runs, listening for up to four seconds (the null sink is slow to
    // start) or until a sound is heard.
    static int LoudestOnTheNullSink(const std::function<void()>& play) {
        const pa_sample_spec format{PA_SAMPLE_U8, 11025, 1};
        const pa_buffer_attr attr{.maxlength = static_cast<uint32_t>(-1),
                                  .tlength = static_cast<uint32_t>(-1),
                                  .prebuf = static_cast<uint32_t>(-1),
                                  .minreq = static_cast<uint32_t>(-1),
                                  .fragsize = 1100};
        pa_simple* monitor = pa_simple_new(nullptr, "test", PA_STREAM_RECORD, "null.monitor",
                                           "monitor", &format, nullptr, &attr, nullptr);
        if (!monitor) return -1;
        std::atomic<int> loudest = 0;
        std::thread listener([&] {
            char piece[1100];
            for (int i = 0; i < 40 && loudest <= 40; ++i) {
                if (pa_simple_read(monitor, piece, sizeof piece, nullptr) < 0) return;
                for (const char c : piece)
                    loudest =
                        std::max(loudest.load(), std::abs(static_cast<unsigned char>(c) - 128));
            }
        });
        play();
        listener.join();
        pa_simple_free(monitor);
        return loudest;
    }

    // True when, within a second, the daemon shows a playback stream of the program.
    static bool KavelinPlays() {
        for (int attempt = 0; attempt < 50; ++attempt) {
            QProcess pactl;
            pactl.start("pactl", {"list", "sink-inputs"});
            pactl.waitForFinished();
            if (pactl.readAllStandardOutput().contains("application.name = \"Kavelin\""))
                return true;
            QTest::qWait(20);
        }
        return false;
    }

  private slots:
    void initTestCase() {
        fServer = new TSoundServerFixture;
        QVERIFY2(fServer->Started(), "the test PulseAudio daemon did not start");
        fDir = fs::temp_directory_path() /
               ("kavelin_capture_" + std::to_string(QCoreApplication::applicationPid()));
        fRecord = (fDir / "made" / "record.wav").string();
    }
    void cleanupTestCase() {
        delete fServer;
        fs::remove_all(fDir);
    }
    void init() {
        fs::remove_all(fDir);
        qputenv("KAVELIN_RECORD_FILE", QByteArray::fromStdString(fRecord));
        fWindows = new TWindowFixture;
    }
    void cleanup() {
        delete fWindows;
        fWindows = nullptr;
    }

    void savingDoesNotStopTheRecording() {
        // A later save holds the earlier one and the sound recorded since.
        fs::create_directories(fDir);
        const std::string first = (fDir / "first.wav").string();
        const std::string second = (fDir / "second.wav").string();
        SendSoundCommand("open new type waveaudio alias recsound");
        SendSoundCommand("record recsound");
        QTest::qWait(50);
        QCOMPARE(SendSoundCommand("save recsound " + first), TSoundStatus::Ok);
        QTest::qWait(50);
        QCOMPARE(SendSoundCommand("save recsound " + second), TSoundStatus::Ok);
        SendSoundCommand("close recsound ");
        const std::string early = ReadRecordedWav(first).fSamples;
        const std::string late = ReadRecordedWav(second).fSamples;
        QVERIFY(late.size() >= early.size() + 400);
        QVERIFY(late.compare(0, early.size(), early) == 0);
    }

    void playingReachesTheNullSinkWithoutBlocking() {
        // The record, played by the page, becomes a stream of the program on the
        // daemon's only sink, the null sink. (The null sink drops the first
        // 50 ms or so of every stream, so the record's own sound is not heard.)
        QCOMPARE(RecordSoundPiece(RecordFileName()), TSoundStatus::Ok);
        Page()->Button3Click();
        QVERIFY(KavelinPlays());

        // A second of sound starts playing at once, and is heard on the sink.
        std::string square;
        for (int i = 0; i < 11025; ++i) square += static_cast<char>(i % 25 < 12 ? 64 : 192);
        const std::string second = (fDir / "second.wav").string();
        WriteFileAtomically(second, EncodeRecordedWav(square));
        qint64 playing = -1;
        QVERIFY(LoudestOnTheNullSink([&] {
                    QElapsedTimer timer;
                    timer.start();
                    SendSoundCommand("Play waveaudio " + second);
                    playing = timer.elapsed();
                }) > 40);
        QVERIFY(playing >= 0 && playing < 500);
    }

    void withoutAServerTheDisplayShowsThePreviousFileAgain() {
        fs::create_directories(fDir / "made");
        fs::copy_file(KAVELIN_TEST_DATA "/sound/piece664.wav", fRecord);
        const TEnvironmentGuard noServer("PULSE_SERVER", "unix:/nonexistent/kavelin-pulse");
        Page()->fCapturePasses = 2;
        QTest::mouseClick(Page()->CaptureSon_Button, Qt::LeftButton);
        QCOMPARE(fs::file_size(fRecord), 664u);
        QCOMPARE(Page()->Memo1->Get(Page()->Memo1->Count() - 1),
                 std::string("Taille Stream : 664"));
        // One warning for the run, with the reason the client gave.
        const QStringList trace = TraceForm->RichEdit1->QtLines();
        QCOMPARE(trace.filter("no sound was recorded").size(), 1);
        QVERIFY2(trace[0].startsWith("Warning : ") && trace[0].endsWith(")"), qPrintable(trace[0]));
        QCOMPARE(trace.last(), QStringLiteral("check a down"));
        // The box says it in plain words, once.
        QCOMPARE(fWindows->Boxes.fTexts.size(), size_t(3));  // the warning, two "Next"
        QVERIFY(fWindows->Boxes.fTexts[0].starts_with(
            "No sound was recorded: no sound server could be reached ("));
    }

    void withoutAServerOrAnEarlierRecordingTheWarningIsTheOneBox() {
        const TEnvironmentGuard noServer("PULSE_SERVER", "unix:/nonexistent/kavelin-pulse");
        Page()->fCapturePasses = 3;
        QTest::mouseClick(Page()->CaptureSon_Button, Qt::LeftButton);
        QCOMPARE(fWindows->Boxes.fTexts.size(), size_t(1));
        QVERIFY(fWindows->Boxes.fTexts[0].starts_with("No sound was recorded: no sound server"));
        QCOMPARE(Page()->Memo1->QtLines(), QStringList{"Memo1"});
        QVERIFY(!fs::exists(fRecord));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void aRunningCaptureShowsItselfAnswersOtherInputAndStopEndsIt() {
        fs::create_directories(fDir / "made");
        fs::copy_file(KAVELIN_TEST_DATA "/sound/piece664.wav", fRecord);
        const TEnvironmentGuard noServer("PULSE_SERVER", "unix:/nonexistent/kavelin-pulse");
        Page()->fCapturePasses = 5;
        TStatusBar* bar = ProgramStatus::Bar();
        QStringList said;
        bool stopShown = false;
        bool busy = false;
        // Box 1 is the warning, each later one a pass's "Next".
        fWindows->Boxes.fWhileShown = [&] {
            said << bar->Text();
            stopShown = bar->Stop_Button->isVisible();
            busy = QApplication::overrideCursor() &&
                   QApplication::overrideCursor()->shape() == Qt::BusyCursor;
            if (fWindows->Boxes.fTexts.size() == 2) {
                // A click elsewhere and a key: answered, and neither reaches its control.
                QTest::mouseClick(Page()->Button5, Qt::LeftButton);
                QTest::keyClick(Kavelin_Form->Quitter_Button, Qt::Key_A);
            }
            if (fWindows->Boxes.fTexts.size() == 3)
                QTest::mouseClick(bar->Stop_Button, Qt::LeftButton);
        };
        QTest::mouseClick(Page()->CaptureSon_Button, Qt::LeftButton);
        fWindows->Boxes.fWhileShown = {};
        QVERIFY(stopShown && busy);
        QCOMPARE(said, (QStringList{"Capturing: pass 1 of 5 (Esc to stop)",
                                    "Capturing: pass 1 of 5 (Esc to stop)",
                                    "A capture is running: Esc or Stop ends it"}));
        // Stop, pressed during the second pass, ended the loop after it.
        QCOMPARE(fWindows->Boxes.fTexts.size(), size_t(3));
        QCOMPARE(Page()->Memo1->Count(), 3);
        QCOMPARE(TraceForm->RichEdit1->QtLines().last(), QStringLiteral("Capture interrupted"));
        QCOMPARE(bar->Text(), QStringLiteral("Capture stopped after 2 of 5 passes"));
        QVERIFY(!bar->Stop_Button->isVisible());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QVERIFY(Kavelin_Form->isVisible());
    }

    void escapeOrADismissedNextBoxEndsTheCaptureLoop() {
        fs::create_directories(fDir / "made");
        fs::copy_file(KAVELIN_TEST_DATA "/sound/piece664.wav", fRecord);
        const TEnvironmentGuard noServer("PULSE_SERVER", "unix:/nonexistent/kavelin-pulse");
        // Escape between passes: the loop ends after the pass under way, and no
        // other key or click reaches the window meanwhile.
        for (const auto key : {Qt::Key_Space, Qt::Key_Escape})
            QCoreApplication::postEvent(Kavelin_Form->Quitter_Button,
                                        new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        QTest::mouseClick(Page()->CaptureSon_Button, Qt::LeftButton);
        QCOMPARE(fWindows->Boxes.fTexts.size(), size_t(2));  // the warning, one "Next"
        QCOMPARE(TraceForm->RichEdit1->QtLines().last(), QStringLiteral("Capture interrupted"));

        // Escape on the third "Next" box, after the warning.
        fWindows->Boxes.fTexts.clear();
        fWindows->Boxes.fDismissed = 4;
        QTest::mouseClick(Page()->CaptureSon_Button, Qt::LeftButton);
        QCOMPARE(fWindows->Boxes.fTexts.size(), size_t(4));
        QCOMPARE(Page()->Memo1->Count(), 5);
        const QStringList trace = TraceForm->RichEdit1->QtLines();
        QCOMPARE(trace.last(), QStringLiteral("Capture interrupted"));
        QCOMPARE(trace.filter("no sound was recorded").size(), 2);  // one for each run
        QVERIFY(Kavelin_Form->isVisible());
    }

    void aMissingFileShowsTheErrorAndAddsNoLine() {
        QTest::mouseClick(Page()->Button5, Qt::LeftButton);
        QCOMPARE(fWindows->Boxes.fTexts.size(), size_t(1));
        QVERIFY(fWindows->Boxes.fTexts[0].starts_with("Cannot open file \"" + fRecord + "\""));
        QCOMPARE(Page()->Memo1->QtLines(), QStringList{"Memo1"});
    }

    void theDisplayDrawsTheLastPictureOnTheGrabbedPicture() {
        fs::create_directories(fDir / "made");
        fs::copy_file(KAVELIN_TEST_DATA "/sound/piece1000.wav", fRecord);
        QTest::mouseClick(Page()->Button5, Qt::LeftButton);
        QCOMPARE(fWindows->Boxes.fTexts, std::vector<std::string>{"Next"});
        QCOMPARE(Page()->Memo1->QtLines(), (QStringList{"Memo1", "Taille Stream : 1000"}));

        const std::string bytes = ReadFileBytes(fRecord);
        const QImage image = Page()->CaptureSons_Image->grab().toImage();
        QCOMPARE(image.size(), QSize(665, 265));
        int black = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(0, 0, 0)) ++black;
        int dots = 0;
        for (size_t i = 664; i < bytes.size(); ++i) {
            const int b = static_cast<unsigned char>(bytes[i]);
            if (b == 0) continue;
            ++dots;
            QCOMPARE(image.pixel(static_cast<int>(i) - 663, 265 - b), qRgb(0, 0, 0));
        }
        QCOMPARE(black, dots);
    }

    void theCaptureLoopDrawsEachPassAndEndsWithTheCheckLine() {
        Page()->fCapturePasses = 3;
        QTest::mouseClick(Page()->CaptureSon_Button, Qt::LeftButton);
        QVERIFY(fs::exists(fRecord));  // its folder was made
        const QStringList lines = Page()->Memo1->QtLines();
        QCOMPARE(lines.size(), 4);
        for (int i = 1; i < 4; ++i) QVERIFY(lines[i].startsWith("Taille Stream : "));
        QCOMPARE(TraceForm->RichEdit1->QtLines().count("check a down"), 1);
    }

    void theRecordLivesInTheProgramsDataFolderByDefault() {
        const TEnvironmentGuard noRecordFile("KAVELIN_RECORD_FILE", std::nullopt);
        const TEnvironmentGuard dataHome("XDG_DATA_HOME", (fDir / "data").string());
        const std::string expected =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() +
            "/record.wav";
        QVERIFY(expected.starts_with((fDir / "data").string()));
        QCOMPARE(RecordFileName(), expected);
        QVERIFY(fs::is_directory(fs::path(expected).parent_path()));
    }
};

QTEST_MAIN(CapturePageTest)
#include "Capture_page_test.moc"
