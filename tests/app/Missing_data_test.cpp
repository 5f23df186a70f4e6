// The program started away from any Data/ folder: one box that says where it
// looked and how to start it, the windows open all the same, and the pages report
// their missing files when used. A user's data folder that holds Data/ serves
// instead, without a box.
#include <QtTest>
#include <filesystem>
#include <optional>

#include "app/Trace_Form.h"
#include "base/File_Io.h"
#include "platform/Data_Folder.h"
#include "support/Global_Guards.h"
#include "support/Window_Fixture.h"

namespace fs = std::filesystem;

class MissingDataTest : public QObject {
    Q_OBJECT
    fs::path fSaved, fRoot, fWork, fHome;
    std::optional<TEnvironmentGuard> fHomeGuard, fXdgGuard;

    std::string UserFolder() const { return (fHome / ".local/share/Kavelin").string(); }

  private slots:
    // Each case starts in an empty folder with an empty home of its own.
    void init() {
        fSaved = fs::current_path();
        fRoot = fs::temp_directory_path() /
                ("kavelin_missing_data_" + std::to_string(QCoreApplication::applicationPid()));
        fWork = fRoot / "work";
        fHome = fRoot / "home";
        fs::remove_all(fRoot);
        fs::create_directories(fWork);
        fs::create_directories(fHome);
        fHomeGuard.emplace("HOME", fHome.string());
        fXdgGuard.emplace("XDG_DATA_HOME", std::nullopt);
        fs::current_path(fWork);
    }
    void cleanup() {
        fs::current_path(fSaved);
        fXdgGuard.reset();
        fHomeGuard.reset();
        fs::remove_all(fRoot);
    }

    void oneBoxSaysWhereItLookedAndTheWindowsOpen() {
        TWindowFixture fixture;
        const std::string expected = MissingDataMessage(fWork.string(), UserFolder());
        QCOMPARE(fixture.Boxes.fTexts, std::vector<std::string>{expected});
        for (const std::string& part :
             {fWork.string(), UserFolder(), std::string("Data/NNetWork2/Brain.ini"),
              std::string("Start Kavelin in the folder that holds Data/"),
              std::string("the installed program, kavelin,")})
            QVERIFY2(expected.find(part) != std::string::npos, part.c_str());
        // The working folder stays, and no user folder is made for a program that
        // is not installed.
        QCOMPARE(fs::current_path(), fWork);
        QVERIFY(!fs::exists(UserFolder()));

        QVERIFY(Kavelin_Form && Kavelin_Form->isVisible());
        QVERIFY(TraceForm && TraceForm->isVisible());
        QVERIFY(ChronoForm && MyDatabase_Form && Debug_Form);
        // The start-up built its brain, empty for want of its file, as ever.
        QVERIFY(Brain != nullptr);
        QVERIFY(Brain->fConceptZones.empty());

        // Used later, the page reports its missing file in the trace and in boxes.
        QTest::mouseClick(Kavelin_Form->NeuronalNetworkPage->NeuronalNetwork2_Button,
                          Qt::LeftButton);
        QVERIFY(fixture.Boxes.fTexts.size() > 1);
        QCOMPARE(fixture.Boxes.fTexts[1],
                 std::string("*ERROR*Ini_Manager_Unit:LoadFromFile:Bad filename : "
                             "./Data/NNetWork2/Brain.ini"));
        const std::vector<std::string> trace = TraceForm->RichEdit1->ToVector();
        QVERIFY(trace.size() >= 3);
        QCOMPARE(trace[1], std::string("Ini_Manager_Unit:LoadFromFile:Bad filename : "
                                       "./Data/NNetWork2/Brain.ini"));
        // Another page's missing file, too.
        QTest::mouseClick(Kavelin_Form->AnalysePicturePage->AnalyseDiscriminante_Button,
                          Qt::LeftButton);
        QVERIFY(fixture.Boxes.fTexts.back().find("Data/DiscrimAnalysis/dscf0001.bmp") !=
                std::string::npos);
    }

    // A user's data folder holding Data/ serves a program started elsewhere: no
    // box, and the brain comes from the file there.
    void theUsersDataFolderServesWithoutABox() {
        const fs::path brain = fs::path(UserFolder()) / "Data/NNetWork2/Brain.ini";
        fs::create_directories(brain.parent_path());
        WriteFileAtomically(brain.string(),
                            ReadFileBytes(KAVELIN_SOURCE_DIR "/Data/NNetWork2/Brain.ini"));
        TWindowFixture fixture;
        QCOMPARE(fixture.Boxes.fTexts, std::vector<std::string>{});
        QCOMPARE(fs::current_path(), fs::path(UserFolder()));
        QVERIFY(Brain != nullptr);
        QVERIFY(!Brain->fConceptZones.empty());
    }
};

QTEST_MAIN(MissingDataTest)
#include "Missing_data_test.moc"
