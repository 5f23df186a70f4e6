// The command-line tool as a user runs it: help, version, errors, the real format
// in the user's locale and UTF-8 at the terminal.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct TRun {
    std::string fOut;
    int fStatus = -1;
};

// Runs the tool through the shell with `arguments`, standard error joined to the
// output when `joinErrors`.
TRun RunCli(const std::string& arguments, bool joinErrors = false, const std::string& environment = "") {
    const std::string command =
        environment + " " + KAVELIN_CLI + " " + arguments + (joinErrors ? " 2>&1" : " 2>/dev/null");
    TRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.fOut.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.fStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace

TEST(Cli, HelpListsSubcommandsAndVersionAnswers) {
    const TRun help = RunCli("--help");
    EXPECT_EQ(help.fStatus, 0);
    EXPECT_NE(help.fOut.find("Usage: kavelin-cli"), std::string::npos);
    EXPECT_NE(help.fOut.find("  real VALUE"), std::string::npos);
    const TRun version = RunCli("--version");
    EXPECT_EQ(version.fStatus, 0);
    EXPECT_EQ(version.fOut.rfind("kavelin-cli ", 0), 0u);
}

TEST(Cli, UnknownSubcommandsAndBadOptionsFailWithAMessage) {
    const TRun unknown = RunCli("no-such-thing", true);
    EXPECT_NE(unknown.fStatus, 0);
    EXPECT_NE(unknown.fOut.find("unknown subcommand 'no-such-thing'"), std::string::npos);
    const TRun none = RunCli("", true);
    EXPECT_NE(none.fStatus, 0);
    EXPECT_NE(none.fOut.find("no subcommand"), std::string::npos);
    EXPECT_NE(RunCli("--seed abc real 1").fStatus, 0);
    EXPECT_NE(RunCli("real").fStatus, 0);
    EXPECT_NE(RunCli("real 1x").fStatus, 0);
}

TEST(Cli, RealFormatFollowsTheLocale) {
    EXPECT_EQ(RunCli("real 44.44444444444444", false, "LC_ALL=C").fOut, "44.4444444444444\n");
    EXPECT_EQ(RunCli("--seed 5 real 100", false, "LC_ALL=C").fOut, "100\n");
    // A French locale, when the machine has one generated, writes a comma.
    const TRun french = RunCli("real 2.5", false, "LC_ALL=fr_FR.UTF-8");
    if (french.fOut != "2.5\n") {
        EXPECT_EQ(french.fOut, "2,5\n");
    }
}
