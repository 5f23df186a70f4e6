// Ctrl+C as a person at a terminal gives it: SIGINT to the tool while it works on
// long texts. The bound on the time is generous so that a loaded machine does
// not fail it; how fast the tool stops is measured by hand.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Random text over four letters, the texts whose distance takes longest.
std::string RandomText(size_t length, unsigned seed) {
    std::mt19937 generator(seed);
    std::string text(length, 'a');
    for (char& c : text) c = "acgt"[generator() % 4];
    return text;
}

class CliInterrupt : public ::testing::Test {
  protected:
    void SetUp() override {
        fDir = fs::temp_directory_path() / ("kavelin_interrupt_" + std::to_string(::getpid()));
        fs::create_directories(fDir);
    }
    void TearDown() override { fs::remove_all(fDir); }

    // Starts the tool on two long texts with its progress shown, standard output
    // and error in files, and waits until the work has begun (its progress shows).
    pid_t StartLongDistance() {
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, 1, (fDir / "out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&files, 2, (fDir / "err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::string first = RandomText(40000, 1), second = RandomText(40000, 2);
        std::vector<std::string> words = {KAVELIN_CLI, "--progress", "text-distance", first,
                                          second};
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        const int spawned = posix_spawn(&pid, KAVELIN_CLI, &files, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&files);
        if (spawned != 0) return -1;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < until &&
               (!fs::exists(fDir / "err") || fs::file_size(fDir / "err") == 0))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return pid;
    }

    // The exit status once the tool has ended, -1 when it is still running after
    // `seconds` (it is then killed) or ended by a signal.
    static int WaitFor(pid_t pid, int seconds) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        int status = 0;
        while (std::chrono::steady_clock::now() < until) {
            if (::waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return -1;
    }

    fs::path fDir;
};

}  // namespace

TEST_F(CliInterrupt, SigintStopsTheTextDistanceWithItsLineAndStatus130) {
    const pid_t pid = StartLongDistance();
    ASSERT_GT(pid, 0);
    ASSERT_GT(fs::file_size(fDir / "err"), 0u) << "no progress shown";
    ASSERT_EQ(::kill(pid, SIGINT), 0);
    EXPECT_EQ(WaitFor(pid, 5), 130);
    // The record ends with the engine's line; the progress line is cleared.
    EXPECT_EQ(ReadText(fDir / "out"), "Text distance interrupted\n");
    const std::string err = ReadText(fDir / "err");
    EXPECT_EQ(err.rfind("\rkavelin-cli: text-distance: ", 0), 0u) << err;
    EXPECT_NE(err.find(" of 40000 ("), std::string::npos) << err;
    EXPECT_EQ(err.substr(err.size() - 4), "\r\033[K");
}

TEST_F(CliInterrupt, ASecondSigintEndsTheToolAtOnce) {
    const pid_t pid = StartLongDistance();
    ASSERT_GT(pid, 0);
    ASSERT_EQ(::kill(pid, SIGINT), 0);
    ASSERT_EQ(::kill(pid, SIGINT), 0);
    EXPECT_EQ(WaitFor(pid, 5), 130);
}

TEST_F(CliInterrupt, WithoutATerminalOrProgressNothingIsShown) {
    // The distance of short texts: standard error is a file and --progress is not given.
    const fs::path err = fDir / "quiet";
    const std::string command = std::string("'") + KAVELIN_CLI + "' text-distance '" +
                                RandomText(3000, 3) + "' '" + RandomText(3000, 4) +
                                "' >/dev/null 2>'" + err.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(fs::file_size(err), 0u);
}

TEST_F(CliInterrupt, OnATerminalTheProgressShowsAndIsClearedBeforeTheResult) {
    // script(1) gives the tool a terminal for both streams and copies what it shows.
    const std::string command = std::string("script -qec \"'") + KAVELIN_CLI + "' text-distance " +
                                RandomText(6000, 5) + " " + RandomText(6000, 6) + "\" /dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string shown;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) shown.append(buffer, got);
    ASSERT_EQ(pclose(pipe), 0) << shown;
    EXPECT_NE(shown.find("\rkavelin-cli: text-distance: 0 of 6000 (0 %)\033[K"), std::string::npos)
        << shown;
    // The line is cleared, then the score stands alone on its line.
    const size_t cleared = shown.rfind("\r\033[K");
    ASSERT_NE(cleared, std::string::npos) << shown;
    const std::string rest = shown.substr(cleared + 4);
    EXPECT_NE(rest.find_first_of("0123456789"), std::string::npos) << rest;
    EXPECT_EQ(rest.find("kavelin-cli"), std::string::npos) << rest;
}
