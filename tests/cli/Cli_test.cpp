// The command-line tool as a user runs it: help, version, errors, the real format
// in the user's locale and UTF-8 at the terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "cli/Cli_Run.h"

TEST(Cli, HelpListsSubcommandsAndVersionAnswers) {
    const TCliRun help = RunCliWords({"--help"});
    EXPECT_EQ(help.fStatus, 0);
    EXPECT_NE(help.fOut.find("Usage: kavelin-cli"), std::string::npos);
    EXPECT_NE(help.fOut.find("\n  real "), std::string::npos);
    EXPECT_NE(RunCliWords({"help", "real"}).fOut.find("Usage: kavelin-cli [OPTIONS] real VALUE"),
              std::string::npos);
    const TCliRun version = RunCliWords({"--version"});
    EXPECT_EQ(version.fStatus, 0);
    EXPECT_EQ(version.fOut.rfind("kavelin-cli ", 0), 0u);
}

TEST(Cli, UnknownSubcommandsAndBadOptionsFailWithAMessage) {
    const TCliRun unknown = RunCliWords({"no-such-thing"}, true);
    EXPECT_NE(unknown.fStatus, 0);
    EXPECT_NE(unknown.fOut.find("unknown subcommand 'no-such-thing'"), std::string::npos);
    const TCliRun none = RunCliWords({}, true);
    EXPECT_NE(none.fStatus, 0);
    EXPECT_NE(none.fOut.find("no subcommand"), std::string::npos);
    EXPECT_NE(RunCliWords({"--seed", "abc", "real", "1"}).fStatus, 0);
    EXPECT_NE(RunCliWords({"--seed", "18446744073709551616", "real", "1"}).fStatus, 0);
    const TCliRun option = RunCliWords({"--frob", "real", "1"}, true);
    EXPECT_EQ(option.fStatus, 2);
    EXPECT_NE(option.fOut.find("unknown option '--frob'"), std::string::npos);
    EXPECT_NE(RunCliWords({"real"}).fStatus, 0);
    EXPECT_NE(RunCliWords({"real", "1x"}).fStatus, 0);
}

TEST(Cli, RealFormatFollowsTheLocale) {
    EXPECT_EQ(RunCliWords({"real", "44.44444444444444"}).fOut, "44.4444444444444\n");
    EXPECT_EQ(RunCliWords({"--seed", "5", "real", "100"}).fOut, "100\n");
    // A French locale writes a comma, whether or not the machine has generated it.
    EXPECT_EQ(RunCliWords({"real", "2.5"}, false, "LC_ALL=fr_FR.UTF-8").fOut, "2,5\n");
    EXPECT_EQ(RunCliWords({"real", "2.5"}, false, "LC_ALL= LC_NUMERIC=de_DE LANG=en_US").fOut,
              "2,5\n");
    EXPECT_EQ(RunCliWords({"real", "-0.125"}, false, "LC_ALL=en_GB.UTF-8").fOut, "-0.125\n");
}

// Memory running out ends the subcommand with a message naming it, not a bare
// std::bad_alloc: a plot of 10000 x 10000 pixels (400 MB) with the address space
// limited to 600 MB, which the sanitizers' shadow memory alone exceeds.
TEST(Cli, RunningOutOfMemoryIsReportedWithTheSubcommand) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
#endif
    const std::string picture =
        (std::filesystem::temp_directory_path() / "kavelin_cli_huge_plot.png").string();
    const TCliRun run = RunCliWords({"plot", KAVELIN_TEST_DATA "/sound/piece1000.wav", picture,
                                     "--width", "10000", "--height", "10000"},
                                    false, "LC_ALL=C LANG=C prlimit --as=600000000");
    std::filesystem::remove(picture);
    EXPECT_EQ(run.fStatus, 1);
    EXPECT_EQ(run.fOut, "");
    EXPECT_EQ(run.fErr,
              "kavelin-cli: plot: Out of memory while running kavelin-cli plot; it was "
              "stopped.\n");
}

TEST(Cli, ProfilePrintsTheTimedSectionsOnStandardErrorAfterTheSubcommand) {
    const TCliRun plain = RunCliWords({"text-distance", "chat", "chien"});
    EXPECT_EQ(plain.fErr, "");
    const TCliRun profiled = RunCliWords({"--profile", "text-distance", "chat", "chien"});
    EXPECT_EQ(profiled.fStatus, 0);
    EXPECT_EQ(profiled.fOut, plain.fOut);
    EXPECT_EQ(profiled.fErr.rfind("section\tcalls\ttotal_ms\tmean_ms\tmax_ms\ndistance\t1\t", 0),
              0u)
        << profiled.fErr;
    EXPECT_EQ(std::count(profiled.fErr.begin(), profiled.fErr.end(), '\n'), 2);
    // A subcommand that times nothing gives the header alone.
    EXPECT_EQ(RunCliWords({"--profile", "real", "1"}).fErr,
              "section\tcalls\ttotal_ms\tmean_ms\tmax_ms\n");
}
