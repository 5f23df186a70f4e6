// Runs kavelin-cli (KAVELIN_CLI) as a user would, through the shell, and collects
// its standard output and exit status.
#pragma once

#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct TCliRun {
    int fStatus = -1;
    std::string fOut;
    std::string fErr;  // standard error, when it is not joined to the output
};

// Each argument is passed as one word, quoted for the shell. `environment` is
// prepended as `env` arguments (for instance "LC_ALL=C" or "-u KAVELIN_SEED").
// Standard error joins the output when `joinErrors`, and is kept apart in fErr
// otherwise. `program` is the tool by default, or a copy of it.
inline TCliRun RunCliWords(const std::vector<std::string>& arguments, bool joinErrors = false,
                           const std::string& environment = "LC_ALL=C LANG=C",
                           const std::string& program = KAVELIN_CLI) {
    auto quote = [](const std::string& word) {
        std::string quoted = "'";
        for (const char c : word) {
            if (c == '\'')
                quoted += "'\\''";
            else
                quoted += c;
        }
        quoted += '\'';
        return quoted;
    };
    std::string command = "env ";
    command += environment;
    command += ' ';
    command += quote(program);
    for (const auto& word : arguments) {
        command += ' ';
        command += quote(word);
    }
    const std::filesystem::path errors =
        std::filesystem::temp_directory_path() /
        ("kavelin_cli_stderr_" + std::to_string(::getpid()) + ".txt");
    command += joinErrors ? std::string(" 2>&1") : " 2>" + quote(errors.string());
    TCliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.fOut.append(buffer, got);
    const int status = pclose(pipe);
    run.fStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!joinErrors) {
        std::ifstream in(errors, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        run.fErr = text.str();
        std::filesystem::remove(errors);
    }
    return run;
}
