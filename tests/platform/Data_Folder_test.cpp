// The data of an installed program: where the shipped data is found, the copy
// into the user's folder that never replaces a user's file, and the data home
// that moves ./Data/ paths for the command-line tool.
#include "platform/Data_Folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Errors.h"
#include "base/File_Io.h"
#include "platform/Paths.h"

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

    CopyMissingDataFiles(shipped.string(), user.string());
    EXPECT_EQ(Read(user / "ListePays.db"), "Nom Pays\r\nFRANCE\r\n");
    EXPECT_EQ(Read(user / "DataRestructurator/TestData/aaa.txt"), "lines");
    EXPECT_TRUE(fs::is_directory(user / "Empty"));
    EXPECT_EQ(Read(user / "SATSolver/Example.txt"), "mine");
    EXPECT_EQ(Read(user / "SATSolver/Own.txt"), "own");
    // Only whole files: no temporary file is left beside the copies.
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(user))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 4);

    // A file the user lacks comes back; a changed one stays as the user left it.
    fs::remove(user / "ListePays.db");
    Write(user / "DataRestructurator/TestData/aaa.txt", "edited");
    CopyMissingDataFiles(shipped.string(), user.string());
    EXPECT_EQ(Read(user / "ListePays.db"), "Nom Pays\r\nFRANCE\r\n");
    EXPECT_EQ(Read(user / "DataRestructurator/TestData/aaa.txt"), "edited");
}

TEST_F(DataFolder, AFolderThatCannotBeMadeOrReadIsAnErrorNamingIt) {
    const auto errorOf = [](const fs::path& shipped, const fs::path& target) -> std::string {
        try {
            CopyMissingDataFiles(shipped.string(), target.string());
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
