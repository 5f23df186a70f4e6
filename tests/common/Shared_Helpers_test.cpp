// The shared helpers: the real format, the line list and its files, the random
// source and the data paths.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "base/Errors.h"
#include "base/File_Io.h"
#include "base/Line_List.h"
#include "base/Real_Format.h"
#include "common/Random_Source.h"
#include "platform/Paths.h"
#include "support/Global_Guards.h"

namespace fs = std::filesystem;

namespace {

fs::path TempDir() {
    fs::path dir = fs::temp_directory_path() / ("kavelin_helpers_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

size_t EntriesIn(const fs::path& dir) {
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
    return entries;
}

std::string WriteError(const fs::path& file, const std::string& bytes) {
    try {
        WriteFileAtomically(file.string(), bytes);
    } catch (const EFileError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(RealFormat, WholeValuesAndShortestFifteenDigitForms) {
    TSeparatorGuard point('.');
    EXPECT_EQ(FloatToStr(100.0), "100");
    EXPECT_EQ(FloatToStr(400.0 / 9.0), "44.4444444444444");
    EXPECT_EQ(FloatToStr(-2.5), "-2.5");
    EXPECT_EQ(FloatToStr(0.0), "0");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FloatToStr(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(FloatToStr(std::sqrt(2.0)), "1.4142135623731");  // 1.41421356237310 without its zero
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
}

TEST(RealFormat, SwitchesToScientificOutsideTheFixedRange) {
    TSeparatorGuard point('.');
    EXPECT_EQ(FloatToStr(0.00001), "0.00001");
    EXPECT_EQ(FloatToStr(0.000012), "0.000012");
    EXPECT_EQ(FloatToStr(0.000001), "1E-6");
    EXPECT_EQ(FloatToStr(-0.0000015), "-1.5E-6");
    EXPECT_EQ(FloatToStr(999999999999999.0), "999999999999999");
    EXPECT_EQ(FloatToStr(1e15), "1E15");
    EXPECT_EQ(FloatToStr(1.5e20), "1.5E20");
    // Rounding to 15 digits can carry into a new integer digit.
    EXPECT_EQ(FloatToStr(9999999999999999.0), "1E16");
    EXPECT_EQ(FloatToStr(0.99999999999999999), "1");
}

TEST(RealFormat, UsesTheCurrentDecimalSeparator) {
    TSeparatorGuard comma(',');
    EXPECT_EQ(FloatToStr(400.0 / 9.0), "44,4444444444444");
    EXPECT_EQ(FloatToStr(1.5e20), "1,5E20");
    EXPECT_EQ(FloatToStr(7.0), "7");
    EXPECT_EQ(IntToStr(-42), "-42");
}

TEST(LineList, SplitsEveryLineEndConvention) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n"), (std::vector<std::string>{""}));
    EXPECT_TRUE(SplitLines("").empty());
    // CR then LF is one line end; LF then CR is two.
    EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(LineList, SavesWithCrLfAndReadsBackByteForByte) {
    const fs::path file = TempDir() / "lines.txt";
    TLineList lines({"caf\xE9", "", "x;y"});
    lines.SaveToFile(file.string());
    EXPECT_EQ(ReadFileBytes(file.string()), "caf\xE9\r\n\r\nx;y\r\n");
    TLineList back;
    back.LoadFromFile(file.string());
    EXPECT_EQ(back.Lines(), lines.Lines());
    fs::remove(file);
}

TEST(LineList, MissingFileRaisesAnErrorNamingIt) {
    TLineList lines({"kept"});
    try {
        lines.LoadFromFile("/nonexistent/kavelin/none.txt");
        FAIL() << "no error raised";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/kavelin/none.txt"), std::string::npos);
    }
    EXPECT_EQ(lines.Lines(), std::vector<std::string>{"kept"});
}

TEST(FileIo, FailedWriteLeavesThePreviousFileWholeAndNoTemporary) {
    const fs::path dir = TempDir() / "readonly";
    fs::create_directories(dir);
    const fs::path file = dir / "kept.txt";
    WriteFileAtomically(file.string(), "previous\r\n");
    // A target whose folder is a file: the temporary cannot be made, as on a
    // read-only disk (root ignores permissions, so they would prove nothing).
    const fs::path blocked = file / "child.txt";
    EXPECT_THROW(WriteFileAtomically(blocked.string(), "new"), EFileError);
    EXPECT_EQ(ReadFileBytes(file.string()), "previous\r\n");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
    EXPECT_EQ(entries, 1u);
    fs::remove_all(dir);
}

// The disk fills up half-way through the text: the child process may write no
// more than 4 KiB to any file, as on a full disk. Each save of a large text then
// fails with the reason, and the previous file stays as it was, with its
// permissions and without a temporary beside it.
TEST(FileIo, AWriteThatFailsHalfWayLeavesThePreviousFileIntact) {
    const fs::path dir = TempDir() / "full";
    fs::create_directories(dir);
    const fs::path file = dir / "kept.txt";
    WriteFileAtomically(file.string(), "previous\r\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path linked = dir / "linked.txt";
    WriteFileAtomically(linked.string(), "linked\r\n");
    fs::create_hard_link(linked, dir / "other-name.txt");
    const std::string large(1 << 20, 'x');
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        int failures = 0;
        const auto expectFailure = [&](const std::function<void()>& save) {
            try {
                save();
            } catch (const EFileError& e) {
                if (std::string(e.what()).find("File too large") != std::string::npos) ++failures;
            }
        };
        expectFailure([&] { WriteFileAtomically(file.string(), large); });
        // A file with a second name is written in place: its space is reserved
        // first, so the failure comes before any byte changes.
        expectFailure([&] { WriteFileAtomically(linked.string(), large); });
        // Constraint files and points files are saved as line lists.
        expectFailure([&] {
            TLineList(std::vector<std::string>(1000, large.substr(0, 80)))
                .SaveToFile(file.string());
        });
        std::_Exit(failures == 3 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "a save did not fail with its reason";
    EXPECT_EQ(ReadFileBytes(file.string()), "previous\r\n");
    EXPECT_EQ(ReadFileBytes((dir / "other-name.txt").string()), "linked\r\n");
    EXPECT_EQ(fs::file_size(linked), 8u);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(EntriesIn(dir), 3u);
    // A save that succeeds keeps the permissions too.
    WriteFileAtomically(file.string(), "next");
    EXPECT_EQ(ReadFileBytes(file.string()), "next");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::remove_all(dir);
}

// A save through a symbolic link writes its target and leaves the link a link,
// also when the target does not exist yet; a loop of links is refused.
TEST(FileIo, SavesWriteThroughSymbolicLinks) {
    const fs::path dir = TempDir() / "links";
    fs::create_directories(dir / "sub");
    WriteFileAtomically((dir / "sub/target.txt").string(), "previous");
    fs::create_symlink("sub/target.txt", dir / "link.txt");
    fs::create_symlink("link.txt", dir / "chain.txt");
    WriteFileAtomically((dir / "chain.txt").string(), "through two links");
    EXPECT_TRUE(fs::is_symlink(dir / "link.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.txt"));
    EXPECT_EQ(ReadFileBytes((dir / "sub/target.txt").string()), "through two links");

    fs::create_symlink("sub/new.txt", dir / "dangling.txt");
    WriteFileAtomically((dir / "dangling.txt").string(), "created");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.txt"));
    EXPECT_EQ(ReadFileBytes((dir / "sub/new.txt").string()), "created");

    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    const std::string error = WriteError(dir / "loop-a", "never");
    EXPECT_EQ(error, "Cannot write file \"" + (dir / "loop-a").string() +
                         "\": Too many levels of symbolic links");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir / "loop-a")));
    EXPECT_EQ(EntriesIn(dir), 6u);
    EXPECT_EQ(EntriesIn(dir / "sub"), 2u);

    // Readers take a link to a file as the file, and a folder or a loop as missing.
    EXPECT_TRUE(FileExists((dir / "chain.txt").string()));
    EXPECT_FALSE(FileExists((dir / "sub").string()));
    EXPECT_FALSE(FileExists((dir / "loop-a").string()));
    EXPECT_FALSE(FileExists(""));
    fs::remove_all(dir);
}

// A file with a second name is rewritten in place: both names show the new text.
// A read-only file is refused, even for the superuser. Names as long as the
// system allows save, with no temporary left beside them.
TEST(FileIo, HardLinksReadOnlyFilesAndLongNames) {
    const fs::path dir = TempDir() / "names";
    fs::create_directories(dir);
    const fs::path file = dir / "first.txt";
    WriteFileAtomically(file.string(), "previous");
    fs::create_hard_link(file, dir / "second.txt");
    WriteFileAtomically((dir / "second.txt").string(), "a longer text than before");
    EXPECT_EQ(ReadFileBytes(file.string()), "a longer text than before");
    EXPECT_EQ(fs::hard_link_count(file), 2u);
    WriteFileAtomically(file.string(), "short");
    EXPECT_EQ(ReadFileBytes((dir / "second.txt").string()), "short");

    const fs::path locked = dir / "locked.txt";
    WriteFileAtomically(locked.string(), "kept");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(WriteError(locked, "new"),
              "Cannot write file \"" + locked.string() + "\": the file is read-only");
    EXPECT_EQ(ReadFileBytes(locked.string()), "kept");
    fs::remove(locked);

    for (const size_t length : {250u, 255u}) {
        const fs::path longName = dir / std::string(length, 'n');
        WriteFileAtomically(longName.string(), "first");
        WriteFileAtomically(longName.string(), "second");
        EXPECT_EQ(ReadFileBytes(longName.string()), "second");
        fs::remove(longName);
    }
    EXPECT_EQ(EntriesIn(dir), 2u);
    fs::remove_all(dir);
}

// A save keeps the owner of the file it replaces; a user who may write a file of
// someone else's, in a folder they may not write, rewrites it in place (both run
// where the test has the superuser's rights to make such files).
TEST(FileIo, OwnersAndFoldersThatCannotBeWritten) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs the superuser to give files to others";
    const fs::path dir = TempDir() / "owners";
    fs::create_directories(dir);
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    const fs::path file = dir / "theirs.txt";
    WriteFileAtomically(file.string(), "previous");
    ASSERT_EQ(::chown(file.c_str(), 4321, 4321), 0);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write | fs::perms::others_read |
                              fs::perms::others_write);
    WriteFileAtomically(file.string(), "by the superuser");
    struct stat status;
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 4321u);
    EXPECT_EQ(status.st_mode & 0777, 0666u);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(2);
        try {
            WriteFileAtomically(file.string(), "by another user");
        } catch (const EFileError&) {
            std::_Exit(1);
        }
        std::_Exit(0);
    }
    int childStatus = 0;
    ASSERT_EQ(::waitpid(child, &childStatus, 0), child);
    EXPECT_TRUE(WIFEXITED(childStatus) && WEXITSTATUS(childStatus) == 0);
    struct stat after;
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(ReadFileBytes(file.string()), "by another user");
    EXPECT_EQ(after.st_ino, status.st_ino);
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(EntriesIn(dir), 1u);
    fs::remove_all(dir);
}

TEST(RandomSource, FixedSeedRepeatsAndRangesHold) {
    {
        const TSeedGuard seed(1234);
        Randomize();
        std::vector<int32_t> first;
        for (int i = 0; i < 50; ++i) first.push_back(RandomInt(1000));
        Randomize();
        for (int i = 0; i < 50; ++i) EXPECT_EQ(RandomInt(1000), first[size_t(i)]);
    }

    std::set<int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const int32_t v = RandomInt(7);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 7);
        seen.insert(v);
        const double r = RandomReal();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(RandomInt(0), 0);
    EXPECT_EQ(RandomInt(-5), 0);
}

TEST(Paths, WindowsFoldersMapUnderTheDataFolder) {
    EXPECT_EQ(LocalPath(".\\Data\\SATSolver\\"), "./Data/SATSolver/");
    EXPECT_EQ(LocalPath("E:\\Kavelin\\Data\\DiscrimAnalysis"), "./Data/DiscrimAnalysis");
    EXPECT_EQ(LocalPath("e:\\KAVELIN\\Data\\AnalyseDeDensite"), "./Data/AnalyseDeDensite");
    EXPECT_EQ(LocalPath("./Data/ListePays.db"), "./Data/ListePays.db");
    EXPECT_EQ(LocalPath("c:\\record.wav"), "/record.wav");
}
