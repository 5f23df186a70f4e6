// The tool's progress display and its answer to SIGINT.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

#include "base/Real_Format.h"
#include "cli/Cli.h"

namespace {

volatile std::sig_atomic_t gStopAsked = 0;
// Whether a progress line stands on standard error, to be cleared.
volatile std::sig_atomic_t gLineShown = 0;
bool gForced = false;
// The display is redrawn at most this often, so that a fast loop of Report
// calls costs a clock read each.
constexpr std::int64_t kRedrawMs = 100;

// Asynchronous-signal-safe: a flag the first time, the end of the tool the
// second, after clearing the progress line.
extern "C" void OnInterrupt(int) {
    if (gStopAsked) {
        static const char clear[] = "\r\033[K";
        if (gLineShown) (void)!::write(STDERR_FILENO, clear, sizeof clear - 1);
        ::_exit(kExitInterrupted);
    }
    gStopAsked = 1;
}

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

bool StopAsked() {
    return gStopAsked != 0;
}

void SetProgressForced(bool forced) {
    gForced = forced;
}

TToolProgress::TToolProgress() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    fShown = gForced || ::isatty(STDERR_FILENO);
}

TToolProgress::~TToolProgress() {
    // A SIGINT once the work has ended ends the tool at once, as it does before.
    if (!gStopAsked) std::signal(SIGINT, SIG_DFL);
    ClearProgressLine();
}

void ClearProgressLine() {
    if (!gLineShown) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    gLineShown = 0;
}

bool TToolProgress::Report(std::int64_t done, std::int64_t total) {
    if (gStopAsked) return true;
    if (!fShown) return false;
    const std::int64_t now = NowMs();
    if (fLastShownMs >= 0 && now - fLastShownMs < kRedrawMs) return false;
    fLastShownMs = now;
    std::string line = "\rkavelin-cli: " + CurrentSubcommand() + ": " + IntToStr(done);
    if (total > 0)
        line += " of " + IntToStr(total) + " (" +
                IntToStr(static_cast<std::int64_t>(100.0 * static_cast<double>(done) /
                                                   static_cast<double>(total))) +
                " %)";
    line += "\033[K";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    gLineShown = 1;
    return false;
}
