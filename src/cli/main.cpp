// kavelin-cli: one subcommand per engine, for scripting, batch runs and tests.
// Trace lines go to standard output when the subcommand ends; error reports go
// to standard error at once; a failed subcommand exits with a non-zero status.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "base/Errors.h"
#include "base/Integer_Text.h"
#include "base/Real_Format.h"
#include "cli/Cli.h"
#include "cli/Picture_Module.h"
#include "common/Random_Source.h"
#include "diagnostics/Chrono_Unit.h"
#include "diagnostics/TraceUnit.h"
#include "platform/Data_Folder.h"
#include "platform/Message_Box.h"
#include "platform/Paths.h"
#include "platform/Text_Display.h"
#include "qt/Qt_Data_Folder.h"
#include "qt/Qt_Locale.h"

#ifndef KAVELIN_VERSION
#define KAVELIN_VERSION "0"
#endif

namespace {

std::vector<TSubcommand>& Registry() {
    static std::vector<TSubcommand> registry;
    return registry;
}

// Error boxes become lines on standard error, written at once; a subcommand
// that reported an error fails.
class TConsoleMessageBox : public IMessageBox {
  public:
    void Show(const std::string& text) override {
        std::fprintf(stderr, "%s\n", AnsiToUtf8(text).c_str());
        std::fflush(stderr);
        fShown = true;
    }
    bool fShown = false;
};

void PrintHelp() {
    std::printf(
        "Usage: kavelin-cli [--seed N] [--profile] SUBCOMMAND [ARGUMENTS]\n"
        "       kavelin-cli --help | --version\n\n"
        "Runs one Kavelin engine without the windows. Trace lines go to standard output,\n"
        "errors to standard error; a failure exits with a non-zero status.\n\n"
        "Options:\n"
        "  --seed N    every reseed of the random source uses N (also KAVELIN_SEED)\n"
        "  --profile   after the subcommand, the timed sections on standard error:\n"
        "              section, calls, total_ms, mean_ms, max_ms (tab-separated)\n"
        "  --help      this text\n"
        "  --version   the program's version\n\n"
        "Subcommands:\n");
    std::vector<const TSubcommand*> sorted;
    for (const auto& s : Subcommands()) sorted.push_back(&s);
    std::sort(sorted.begin(), sorted.end(),
              [](const TSubcommand* a, const TSubcommand* b) { return a->fName < b->fName; });
    // A usage too long for its column stands on a line of its own, so that two
    // spaces or more always part a usage from its summary.
    for (const TSubcommand* s : sorted) {
        const std::string usage = s->fName + (s->fUsage.empty() ? "" : " " + s->fUsage);
        if (usage.size() > 39)
            std::printf("  %s\n%43s%s\n", usage.c_str(), "", s->fSummary.c_str());
        else
            std::printf("  %-39s  %s\n", usage.c_str(), s->fSummary.c_str());
    }
}

// The sections that the subcommand timed, as the profiling window lists them.
void PrintProfile() {
    std::fprintf(stderr, "section\tcalls\ttotal_ms\tmean_ms\tmax_ms\n");
    for (const TSectionTimes& s : ChronoTable().Sections())
        std::fprintf(stderr, "%s\t%s\t%s\t%s\t%s\n", AnsiToUtf8(s.fSection).c_str(),
                     IntToStr(s.fCalls).c_str(), FloatToStr(s.TotalMs()).c_str(),
                     FloatToStr(s.MeanMs()).c_str(), FloatToStr(s.GreatestMs()).c_str());
}

bool ParseSeed(const std::string& text, uint64_t& seed) {
    const std::optional<uint64_t> parsed = ParseUInt64(text, TIntegerForm::CLike);
    if (parsed) seed = *parsed;
    return parsed.has_value();
}

}  // namespace

TSubcommandRegistrar::TSubcommandRegistrar(TSubcommand subcommand) {
    Registry().push_back(std::move(subcommand));
}

const std::vector<TSubcommand>& Subcommands() {
    return Registry();
}

int UsageError(const std::string& subcommand, const std::string& message) {
    std::fprintf(stderr, "kavelin-cli %s: %s\n", subcommand.c_str(), message.c_str());
    return 2;
}

int main(int argc, char** argv) {
    InitDecimalSeparatorFromLocale();
    InitFixedSeedFromEnvironment();
    InstallModulePictureReader();

    bool profile = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            PrintHelp();
            return 0;
        }
        if (arg == "--version") {
            std::printf("kavelin-cli %s\n", KAVELIN_VERSION);
            return 0;
        }
        if (arg == "--profile") {
            profile = true;
            continue;
        }
        if (arg.size() > 1 && arg[0] == '-' && arg != "--seed") {
            std::fprintf(stderr, "kavelin-cli: unknown option '%s' (see kavelin-cli --help)\n",
                         arg.c_str());
            return 2;
        }
        if (arg == "--seed") {
            uint64_t seed = 0;
            if (i + 1 >= argc || !ParseSeed(argv[i + 1], seed)) {
                std::fprintf(
                    stderr,
                    "kavelin-cli: --seed needs a whole number from 0 to 18446744073709551615\n");
                return 2;
            }
            SetFixedSeed(seed);
            ++i;
            continue;
        }
        break;
    }
    if (i >= argc) {
        std::fprintf(stderr, "kavelin-cli: no subcommand given (see kavelin-cli --help)\n");
        return 2;
    }
    const std::string name = argv[i];
    const TSubcommand* subcommand = nullptr;
    for (const auto& s : Subcommands())
        if (s.fName == name) subcommand = &s;
    if (!subcommand) {
        std::fprintf(stderr, "kavelin-cli: unknown subcommand '%s' (see kavelin-cli --help)\n",
                     name.c_str());
        return 2;
    }
    // An installed tool started away from any Data/ folder reads the user's
    // data folder; its file arguments stay relative to the working directory.
    std::string problem;
    SetDataHome(InstalledWorkFolder(UserDataFolder(), problem));
    if (!problem.empty()) std::fprintf(stderr, "kavelin-cli: %s\n", problem.c_str());

    std::vector<std::string> args;
    for (int j = i + 1; j < argc; ++j) args.emplace_back(argv[j]);

    // The tool's trace: the same bounded line list as the trace window.
    TMemoryTextDisplay trace;
    TConsoleMessageBox box;
    SetMessageBox(&box);
    Messenger.AttachTrace(&trace);
    int status = 0;
    try {
        status = subcommand->fRun(args);
    } catch (const std::bad_alloc&) {
        box.Show(OutOfMemoryMessage("running kavelin-cli " + name));
        status = 1;
    } catch (const std::exception& e) {
        box.Show(e.what());
        status = 1;
    }
    Messenger.AttachTrace(nullptr);
    SetMessageBox(nullptr);
    for (int k = 0; k < trace.Count(); ++k) std::printf("%s\n", AnsiToUtf8(trace.Get(k)).c_str());
    if (profile) {
        std::fflush(stdout);
        PrintProfile();
    }
    if (status == 0 && box.fShown) status = 1;
    return status;
}
