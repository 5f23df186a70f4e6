// The data of an installed program: where the shipped data is found, the copy
// into the user's folder that never replaces a user's file and fills it once per
// version, the box of a program that finds no Data/ folder, and the data home
// that moves ./Data/ paths for the command-line tool.
#include "platform/Data_Folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Errors.h"
#include "base/File_Io.h"
#include "platform/Paths.h"
#include "support/Global_Guards.h"

namespace fs = std::filesystem;

namespace {

class DataFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        fRoot = fs::path(::testing::TempDir()) /
                ("kavelin-data-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(fRoot);
        fs::create_directories(fRoot);
    }
    void TearDown() override { fs::remove_all(fRoot); }

    void Write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) { return ReadFileBytes(path.string()); }

    fs::path fRoot;
};

}  // namespace

TEST_F(DataFolder, TheShippedDataLiesBesideTheInstalledProgramsFolder) {
    Write(fRoot / "usr/bin/kavelin", "");
    EXPECT_EQ(ShippedDataFolderOf((fRoot / "usr/bin/kavelin").string()), "");
    fs::create_directories(fRoot / "usr/share/kavelin/Data");
    EXPECT_EQ(ShippedDataFolderOf((fRoot / "usr/bin/kavelin").string()),
              (fRoot / "usr/share/kavelin/Data").string());
    // A build folder is no installed place, even beside a share/ folder.
    fs::create_directories(fRoot / "build/../share/kavelin/Data");
    EXPECT_EQ(ShippedDataFolderOf((fRoot / "build/kavelin").string()), "");
    EXPECT_EQ(ShippedDataFolderOf(""), "");
    // This test program runs from its build folder: it works where it is.
    std::string problem = "stale";
    EXPECT_EQ(InstalledWorkFolder((fRoot / "user").string(), problem), "");
    EXPECT_EQ(problem, "");
    EXPECT_FALSE(fs::exists(fRoot / "user"));
}

TEST_F(DataFolder, TheCopyFillsWhatIsMissingAndNeverReplacesAUsersFile) {
    const fs::path shipped = fRoot / "shipped", user = fRoot / "home/Kavelin/Data";
    Write(shipped / "ListePays.db", "Nom Pays\r\nFRANCE\r\n");
    Write(shipped / "SATSolver/Example.txt", "shipped");
    Write(shipped / "DataRestructurator/TestData/aaa.txt", "lines");
    fs::create_directories(shipped / "Empty");
    Write(user / "SATSolver/Example.txt", "mine");
    Write(user / "SATSolver/Own.txt", "own");

    CopyMissingDataFiles(shipped.string(), user.string(), "1.0");
    EXPECT_EQ(Read(user / "ListePays.db"), "Nom Pays\r\nFRANCE\r\n");
    EXPECT_EQ(Read(user / "DataRestructurator/TestData/aaa.txt"), "lines");
    EXPECT_TRUE(fs::is_directory(user / "Empty"));
    EXPECT_EQ(Read(user / "SATSolver/Example.txt"), "mine");
    EXPECT_EQ(Read(user / "SATSolver/Own.txt"), "own");
    // Only whole files: no temporary file is left beside the copies and the record.
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(user))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 5);
    // The record names the version and every shipped path, the user's own file not.
    EXPECT_EQ(Read(user / kCopiedDataRecord),
              "Kavelin data version 1.0\r\nDataRestructurator/\r\nDataRestructurator/TestData/"
              "\r\nDataRestructurator/TestData/aaa.txt\r\nEmpty/\r\nListePays.db\r\n"
              "SATSolver/\r\nSATSolver/Example.txt\r\n");

    // A file or folder the user deleted stays deleted, at the next start and in a
    // later version; a changed one stays as the user left it.
    fs::remove(user / "ListePays.db");
    fs::remove_all(user / "DataRestructurator");
    Write(user / "SATSolver/Example.txt", "edited");
    CopyMissingDataFiles(shipped.string(), user.string(), "1.0");
    EXPECT_FALSE(fs::exists(user / "ListePays.db"));
    EXPECT_FALSE(fs::exists(user / "DataRestructurator"));
    EXPECT_EQ(Read(user / "SATSolver/Example.txt"), "edited");
    // The same version reads no shipped folder again: what it gained waits for a
    // later version, which adds only what is new, in folders new or deleted.
    Write(shipped / "SATSolver/New.txt", "new");
    Write(shipped / "DataRestructurator/TestData/bbb.txt", "more lines");
    Write(shipped / "Pictures/a.png", "png");
    CopyMissingDataFiles(shipped.string(), user.string(), "1.0");
    EXPECT_FALSE(fs::exists(user / "SATSolver/New.txt"));
    CopyMissingDataFiles(shipped.string(), user.string(), "1.1");
    EXPECT_EQ(Read(user / "SATSolver/New.txt"), "new");
    EXPECT_EQ(Read(user / "DataRestructurator/TestData/bbb.txt"), "more lines");
    EXPECT_FALSE(fs::exists(user / "DataRestructurator/TestData/aaa.txt"));
    EXPECT_EQ(Read(user / "Pictures/a.png"), "png");
    EXPECT_FALSE(fs::exists(user / "ListePays.db"));
    EXPECT_EQ(Read(user / "SATSolver/Example.txt"), "edited");
    EXPECT_EQ(Read(user / kCopiedDataRecord).rfind("Kavelin data version 1.1\r\n", 0), 0u);

    // Deleting the whole folder, record included, has it filled anew.
    fs::remove_all(user);
    CopyMissingDataFiles(shipped.string(), user.string(), "1.1");
    EXPECT_EQ(Read(user / "ListePays.db"), "Nom Pays\r\nFRANCE\r\n");
    EXPECT_EQ(Read(user / "DataRestructurator/TestData/aaa.txt"), "lines");
}

// A folder filled before records were kept gains its missing files and a
// record; a record too large or of another form stops the copy with a message
// naming it, and is left as it is.
TEST_F(DataFolder, TheRecordIsReadWithinBoundsAndAStrangeOneIsRefused) {
    const fs::path shipped = fRoot / "shipped", user = fRoot / "user/Data";
    Write(shipped / "a.txt", "a");
    Write(shipped / "b.txt", "b");
    Write(user / "a.txt", "mine");
    CopyMissingDataFiles(shipped.string(), user.string(), "2");
    EXPECT_EQ(Read(user / "a.txt"), "mine");
    EXPECT_EQ(Read(user / "b.txt"), "b");
    EXPECT_EQ(Read(user / kCopiedDataRecord), "Kavelin data version 2\r\na.txt\r\nb.txt\r\n");
    // Written by hand with other line ends and blank lines, it reads the same.
    fs::remove(user / "b.txt");
    Write(user / kCopiedDataRecord, "Kavelin data version 1\n\na.txt\rb.txt\n");
    CopyMissingDataFiles(shipped.string(), user.string(), "2");
    EXPECT_FALSE(fs::exists(user / "b.txt"));

    const auto errorOf = [&](const std::string& record) -> std::string {
        Write(user / kCopiedDataRecord, record);
        fs::remove(user / "b.txt");
        try {
            CopyMissingDataFiles(shipped.string(), user.string(), "3");
        } catch (const EFileError& e) {
            EXPECT_FALSE(fs::exists(user / "b.txt"));
            EXPECT_EQ(Read(user / kCopiedDataRecord), record);
            return e.what();
        }
        return "no error";
    };
    const std::string name = (user / kCopiedDataRecord).string();
    EXPECT_EQ(errorOf("a.txt\nb.txt\n"),
              "The record of the copied data files \"" + name +
                  "\" does not begin with \"Kavelin data version \"; delete it to have the "
                  "missing shipped files copied again");
    EXPECT_EQ(errorOf(""), errorOf("a.txt\nb.txt\n"));
    EXPECT_EQ(errorOf("Kavelin data version 1\n" + std::string(1 << 20, 'x')),
              "The record of the copied data files \"" + name +
                  "\" holds 1048599 bytes (at most 1048576); delete it to have the missing "
                  "shipped files copied again");
    // One that is no file cannot be read, nor replaced.
    fs::remove(user / kCopiedDataRecord);
    fs::create_directories(user / kCopiedDataRecord);
    try {
        CopyMissingDataFiles(shipped.string(), user.string(), "3");
        ADD_FAILURE() << "a folder was taken for the record";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
}

TEST_F(DataFolder, AFolderThatCannotBeMadeOrReadIsAnErrorNamingIt) {
    const auto errorOf = [](const fs::path& shipped, const fs::path& target) -> std::string {
        try {
            CopyMissingDataFiles(shipped.string(), target.string(), "1.0");
        } catch (const EFileError& e) {
            return e.what();
        }
        return "no error";
    };
    Write(fRoot / "shipped/a.txt", "a");
    Write(fRoot / "file", "not a folder");
    EXPECT_EQ(errorOf(fRoot / "shipped", fRoot / "file/Data")
                  .rfind("Cannot create folder \"" + (fRoot / "file/Data").string() + "\": ", 0),
              0u);
    EXPECT_EQ(errorOf(fRoot / "missing", fRoot / "user")
                  .rfind("Cannot open folder \"" + (fRoot / "missing").string() + "\": ", 0),
              0u);
}

// Started away from any Data/ folder, a program that is not installed works in
// the user's data folder when that holds one; with none anywhere, the one box
// names both folders, what the program reads from Data/ and how to start it.
TEST_F(DataFolder, WithoutDataHereTheUsersFolderServesOrTheBoxSaysWhereToStart) {
    const fs::path here = fRoot / "here", user = fRoot / "user";
    fs::create_directories(here);
    const fs::path saved = fs::current_path();
    fs::current_path(here);
    std::string problem = "stale";
    const std::string withoutData = InstalledWorkFolder(user.string(), problem);
    const std::string withoutUser = InstalledWorkFolder("", problem);
    fs::create_directories(user / "Data");
    const std::string withUserData = InstalledWorkFolder(user.string(), problem);
    fs::current_path(saved);
    EXPECT_EQ(withoutData, "");
    EXPECT_EQ(withoutUser, "");
    EXPECT_EQ(withUserData, user.string());
    EXPECT_EQ(problem, "");
    fs::remove_all(user / "Data");

    const std::string message = MissingDataMessage(here.string(), user.string());
    for (const std::string& part :
         {"neither in the folder it was started in,\n    " + here.string() + "\n",
          "nor in your data folder,\n    " + user.string() + "\n",
          std::string("at start-up, Data/NNetWork2/Brain.ini (the brain of the \"Neuronal  "
                      "Network\" page)"),
          std::string("Data/GeneralPArameters.ini"), std::string("Data/ListePays.db"),
          std::string("Start Kavelin in the folder that holds Data/"),
          std::string("start the installed program, kavelin,")})
        EXPECT_NE(message.find(part), std::string::npos) << part;
    EXPECT_NE(MissingDataMessage(here.string(), "").find("(unknown: HOME is not set)"),
              std::string::npos);
    // A Data/ folder in either place: no box.
    fs::create_directories(user / "Data");
    EXPECT_EQ(MissingDataMessage(here.string(), user.string()), "");
    fs::remove_all(user / "Data");
    fs::create_directories(here / "Data");
    EXPECT_EQ(MissingDataMessage(here.string(), user.string()), "");
    EXPECT_EQ(MissingDataMessage(here.string(), ""), "");
}

// The start with the data missing shows its box through the installed box and
// sends what follows to standard error until it ends; with data, it does nothing.
TEST_F(DataFolder, TheMissingDataStartHoldsBackTheBoxesOfTheStartUpOnly) {
    struct TRecordingBox : IMessageBox {
        void Show(const std::string& text) override { fTexts.push_back(text); }
        std::vector<std::string> fTexts;
    } box;
    TMessageBoxGuard installed(&box);
    const fs::path saved = fs::current_path();
    fs::current_path(fRoot);
    const std::string message = MissingDataMessage(fRoot.string(), (fRoot / "user").string());
    {
        const TMissingDataStart start((fRoot / "user").string());
        EXPECT_TRUE(start.DataMissing());
        ShowMessageBox("*ERROR*Ini_Manager_Unit:LoadFromFile:Bad filename");
    }
    ShowMessageBox("used later");
    fs::create_directories(fRoot / "Data");
    {
        const TMissingDataStart start((fRoot / "user").string());
        EXPECT_FALSE(start.DataMissing());
        ShowMessageBox("with data");
    }
    fs::current_path(saved);
    ASSERT_EQ(box.fTexts.size(), 3u);
    EXPECT_EQ(box.fTexts[0], message);
    EXPECT_EQ(box.fTexts[1], "used later");
    EXPECT_EQ(box.fTexts[2], "with data");
    EXPECT_EQ(CurrentMessageBox(), &box);
}

TEST(DataHome, MovesOnlyThePathsUnderTheDataFolder) {
    SetDataHome("/home/u/.local/share/Kavelin");
    EXPECT_EQ(LocalPath("./Data/ListePays.db"), "/home/u/.local/share/Kavelin/Data/ListePays.db");
    EXPECT_EQ(LocalPath(".\\Data\\SATSolver\\"), "/home/u/.local/share/Kavelin/Data/SATSolver/");
    EXPECT_EQ(LocalPath("E:\\Kavelin\\Data\\DiscrimAnalysis"),
              "/home/u/.local/share/Kavelin/Data/DiscrimAnalysis");
    EXPECT_EQ(LocalPath("./Database.db"), "./Database.db");
    EXPECT_EQ(LocalPath("Data/x"), "Data/x");
    EXPECT_EQ(LocalPath("c:\\record.wav"), "/record.wav");
    SetDataHome("");
    EXPECT_EQ(LocalPath("./Data/ListePays.db"), "./Data/ListePays.db");
}
